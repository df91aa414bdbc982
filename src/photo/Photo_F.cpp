#include "photo/Photo_F.h"

#include "core/handover.h"
#include "photo/photo_common.h"
#include "pictures/input.h"
#include "pictures/storage.h"
#include "ui/platform.h"

using namespace tolvane::ui;
using namespace tolvane::photo;
using tolvane::pictures::Picture;

TPhotoF* PhotoF = nullptr;

namespace {
Label* newLabel(QWidget* parent, const char* name, const QString& caption, int l, int t) {
    return new Label(parent, name, caption, l, t);
}
}  // namespace

TPhotoF::TPhotoF(Form* owner) : Form(owner, "PhotoF") {
    setCaption(QStringLiteral("写真"));
    setFixedClientSize(790, 606);
    setPosition(Position::OwnerCenter);
    setColor(QColor(200, 206, 221));
    setFontPx(12, true);

    Bevel1 = new Bevel(this, "Bevel1", 12, 6, 585, 553);
    Image1 = new Image(this, "Image1", 16, 10, 577, 545);
    Image1->setProportional(true);   // at the top left corner

    const int x = 616;
    Btn_Ok = new Button(this, "Btn_Ok", QStringLiteral("変更確定"), x, 16, 153, 33);
    Label_CODE = newLabel(this, "Label_CODE", QString(), x, 64);
    Label_Photo = newLabel(this, "Label_Photo", QString(), x, 88);
    Label3 = newLabel(this, "Label3", QStringLiteral("の処理"), x + 88, 88);
    Label1 = newLabel(this, "Label1", QStringLiteral("ダブルクリックで"), x, 144);
    Label2 = newLabel(this, "Label2", QStringLiteral("写真が指定できます"), x, 164);
    Btn_File = new Button(this, "Btn_File", QStringLiteral("ファイル指定"), x, 188, 153, 30);
    Label4 = newLabel(this, "Label4", QStringLiteral("クリップボードから"), x, 248);
    Label5 = newLabel(this, "Label5", QStringLiteral("入力します"), x, 268);
    Btn_C_BORD = new Button(this, "Btn_C_BORD", QStringLiteral("クリップボード"), x, 292, 153, 30);
    Btn_Clear = new Button(this, "Btn_Clear", QStringLiteral("消去します"), x, 372, 153, 30);
    Btn_No = new Button(this, "Btn_No", QStringLiteral("キャンセル"), x, 526, 153, 33);

    Image1->OnDblClick = [this] { Image1DblClick(); };
    Btn_File->OnClick = [this] { Btn_FileClick(); };
    Btn_C_BORD->OnClick = [this] { Btn_C_BORDClick(); };
    Btn_Clear->OnClick = [this] { Btn_ClearClick(); };
    Btn_Ok->OnClick = [this] { Btn_OkClick(); };
    Btn_No->OnClick = [this] { Btn_NoClick(); };
    OnShow = [this] { FormShow(); };
}

bool TPhotoF::isMemoPhotoColumn(const QString& column) {
    static const QStringList columns = {"F_PHOTO1", "F_PHOTO2", "F_PHOTO3", "F_PHOTO4", "F_PHOTO5",
                                        "F_PHOTO6", "F_PHOTO7", "F_PHOTO8", "F_PHOTO9"};
    return columns.contains(column);
}

void TPhotoF::FormShow() {
    const Form* o = owner();
    const QString ownerName = o != nullptr ? o->name() : QString();
    if (ownerName == QLatin1String("Photo_9F")) {
        target_ = Target::Memo;
        Label_Photo->setCaption(controlText(o, QStringLiteral("Label_Photo")));
        Label_CODE->setCaption(controlText(o, QStringLiteral("Label_No")));
        const QString column = Label_Photo->caption();
        const auto code = wholeNumber(Label_CODE->caption());
        // Only the nine photo columns are ever named in a statement; the
        // number goes as a parameter. Anything else reads nothing.
        if (!isMemoPhotoColumn(column) || !code) return;
        IBSQL_IN.close();
        IBSQL_IN.sqlClear();
        IBSQL_IN.sqlAdd((" select " + column + " from FISH_MEMO ").toStdString());
        IBSQL_IN.sqlAdd(" where CODE = :parCODE");
        IBSQL_IN.paramByName("parCODE").setInteger(*code);
        IBSQL_IN.open();
        const auto& field = IBSQL_IN.fields(0);
        if (!field.isNull())
            Image1->setPicture(tolvane::pictures::bitmapFirstRead(field, tolvane::pictures::NullTest::With));
    } else if (ownerName == QLatin1String("Photo_BigF")) {
        target_ = Target::Catch;
        Label_Photo->setCaption(QString());
        Label_CODE->setCaption(controlText(o, QStringLiteral("Label_Code")));
        if (PhotoNo >= 1 && PhotoNo <= 4) catchColumn_ = "PHOTO" + QString::number(PhotoNo);
        const auto code = wholeNumber(Label_CODE->caption());
        if (catchColumn_.isEmpty() || !code) return;
        IBSQL_Data.close();
        IBSQL_Data.sqlClear();
        IBSQL_Data.sqlAdd(("select  " + catchColumn_ + " ").toStdString());
        IBSQL_Data.sqlAdd(" from FISH_DATA where CODENO =  :parCODE");
        IBSQL_Data.paramByName("parCODE").setInteger(*code);
        IBSQL_Data.open();
        const auto& field = IBSQL_Data.fields(0);
        if (!field.isNull())
            Image1->setPicture(tolvane::pictures::bitmapFirstRead(field, tolvane::pictures::NullTest::With));
    } else {
        target_ = Target::None;
        platform().messageBox(this, QStringLiteral("*********"));
        close();
    }
}

void TPhotoF::Image1DblClick() {
    Picture p = Image1->picture();
    if (tolvane::pictures::plainFileLoad(this, p)) Image1->setPicture(p);
}

void TPhotoF::Btn_FileClick() { Image1DblClick(); }

void TPhotoF::Btn_C_BORDClick() {
    Picture p = Image1->picture();
    if (tolvane::pictures::anyPicturePaste(this, p, tolvane::pictures::Notice::Silent))
        Image1->setPicture(p);
}

void TPhotoF::Btn_ClearClick() { Image1->clearPicture(); }

void TPhotoF::Btn_OkClick() {
    const Picture picture = Image1->picture();
    const auto code = wholeNumber(Label_CODE->caption());
    if (target_ == Target::Memo) {
        const QString column = Label_Photo->caption();
        try {
            if (!isMemoPhotoColumn(column) || !code)
                throw std::runtime_error("no memo photo to write");
            tolvane::pictures::checkStorable(picture);
            IBSQL_IN.close();
            IBSQL_IN.sqlClear();
            IBSQL_IN.sqlAdd((" update FISH_MEMO set " + column + " = :parPHOTO where CODE = :parCODE")
                                .toStdString());
            tolvane::pictures::ownFormatWrite(IBSQL_IN.paramByName("parPHOTO"), picture);
            IBSQL_IN.paramByName("parCODE").setInteger(*code);
            IBSQL_IN.execQuery();
            if (IBSQL_IN.rowsAffected() == 0) throw std::runtime_error("no such memo");
            DM1->IBTr1.commitRetaining();
        } catch (const std::exception&) {
            DM1->IBTr1.rollbackRetaining();
            platform().messageBox(this, QStringLiteral("失敗しました FISH_MEMO"));
        }
    } else if (target_ == Target::Catch) {
        try {
            if (catchColumn_.isEmpty() || !code) throw std::runtime_error("no catch photo to write");
            tolvane::pictures::checkStorable(picture);
            IBSQL_Data.close();
            IBSQL_Data.sqlClear();
            IBSQL_Data.sqlAdd(("update FISH_DATA set  " + catchColumn_ + " ").toStdString());
            IBSQL_Data.sqlAdd(" = :parPHOTO where CODENO = :parCODE");
            tolvane::pictures::keepingJpegWrite(IBSQL_Data.paramByName("parPHOTO"), picture);
            IBSQL_Data.paramByName("parCODE").setInteger(*code);
            IBSQL_Data.execQuery();
            if (IBSQL_Data.rowsAffected() == 0) throw std::runtime_error("no such record");
            DM1->IBTr2.commitRetaining();
        } catch (const std::exception&) {
            DM1->IBTr2.rollbackRetaining();
            platform().messageBox(this, QStringLiteral("失敗しました FISH_DATA"));
        }
    }
    close();
}
