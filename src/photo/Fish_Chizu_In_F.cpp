#include "photo/Fish_Chizu_In_F.h"

#include "core/handover.h"
#include "pictures/input.h"
#include "pictures/labels.h"
#include "pictures/storage.h"
#include "ui/platform.h"

using namespace tolvane::ui;
using tolvane::pictures::Picture;
using namespace tolvane::photo;

TFish_Chizu_InF* Fish_Chizu_InF = nullptr;

namespace {
const QString kNoCode = QStringLiteral("コード番号取得失敗");
const QString kFailed = QStringLiteral("登録に失敗しました");

// The buttons of the right column.
Button* newButton(QWidget* parent, const char* name, const QString& caption, int top) {
    return new Button(parent, name, caption, 536, top, 137, 33);
}
}  // namespace

TFish_Chizu_InF::TFish_Chizu_InF(Form* owner) : Form(owner, "Fish_Chizu_InF") {
    setCaption(QStringLiteral("地図・仕掛け"));
    setFixedClientSize(690, 560);
    setPosition(Position::OwnerCenter);
    setColor(QColor(200, 206, 221));
    setFontPx(16, true);

    Image_M = new Image(this, "Image_M", 16, 16, 500, 500);
    Image_M->setProportional(true);
    Image_M->setCenter(true);
    Edit_CODE = new Edit(this, "Edit_CODE", 536, 16, 137, 26);
    Label_XY = new tolvane::ui::LineBreakLabel(this, "Label_XY", 536, 50, 150, 44);
    Label3 = new Label(this, "Label3", QStringLiteral("読み込み"), 540, 112);
    Label3->setFontPx(12, true);
    Btn_In = newButton(this, "Btn_In", QStringLiteral("クリップボードから"), 130);
    Btn_File = newButton(this, "Btn_File", QStringLiteral("ファイルから開く"), 170);
    Btn_OK = newButton(this, "Btn_OK", QStringLiteral("登　録"), 360);
    Btn_Clear = newButton(this, "Btn_Clear", QStringLiteral("消　去"), 412);
    Btn_Return = newButton(this, "Btn_Return", QStringLiteral("戻　る"), 483);

    Btn_In->OnClick = [this] { Btn_InClick(); };
    Btn_File->OnClick = [this] { Btn_FileClick(); };
    Btn_Clear->OnClick = [this] { Btn_ClearClick(); };
    Btn_OK->OnClick = [this] { Btn_OKClick(); };
    Btn_Return->OnClick = [this] { Btn_ReturnClick(); };
    OnShow = [this] { FormShow(); };
}

void TFish_Chizu_InF::FormShow() {
    setHeight(560);
    setWidth(690);
    Form* o = owner();
    if (o == nullptr || o->name() != QLatin1String("FishdataF")) {
        // The catch entry window: its picture is handed back at 登録.
        Label_XY->setCaption(QString());
        Edit_CODE->setText(QStringLiteral("新規入力"));
        return;
    }
    Edit_CODE->setText(controlText(o, QStringLiteral("Edit_No")));
    Label_XY->setCaption(QString());
    if (MapPicFlag == 1) {
        const Picture map = pictureOf(o, QStringLiteral("Image_Map"));
        Image_M->setPicture(map);
        if (!map.isNone())
            Label_XY->setCaption(tolvane::pictures::openingSizeLabel(map, QStringLiteral("jpeg")));
    }
    if (Edit_CODE->text().isEmpty()) {
        platform().messageBox(this, kNoCode);
        close();
    }
}

void TFish_Chizu_InF::Btn_InClick() {
    Picture p = Image_M->picture();
    if (!tolvane::pictures::bitmapPaste(this, p, tolvane::pictures::Notice::Message)) return;
    Image_M->setPicture(p);
    Label_XY->setCaption(tolvane::pictures::pasteSizeLabel(p));
}

void TFish_Chizu_InF::Btn_FileClick() {
    Picture p = Image_M->picture();
    const auto label = tolvane::pictures::extensionSwitchFileLoad(this, p);
    Image_M->setPicture(p);
    if (label) Label_XY->setCaption(*label);
}

void TFish_Chizu_InF::Btn_ClearClick() {
    Image_M->clearPicture();
    Label_XY->setCaption(QString());
}

void TFish_Chizu_InF::Btn_OKClick() {
    const bool stored = DataMode == OLD_Flg;
    std::optional<int> code;
    if (stored) {
        // A number typed over the box that does not convert: nothing is sent.
        code = wholeNumber(Edit_CODE->text());
        if (!code) {
            platform().messageBox(this, kNoCode);
            return;
        }
    }

    const Picture picture = Image_M->picture();
    const bool hasPicture = !picture.isNone();
    QByteArray jpeg;
    bool encoded = true;
    if (hasPicture) {
        try {
            tolvane::pictures::checkStorable(picture);
            jpeg = tolvane::pictures::reencodedJpegBytes(picture);
        } catch (const std::exception&) {
            encoded = false;
        }
    }

    if (stored) {
        try {
            if (!encoded) throw std::runtime_error("the picture cannot be encoded");
            IBSQL_UP.close();
            IBSQL_UP.sqlClear();
            IBSQL_UP.sqlAdd(" update FISH_DATA set     CHIZU = :parCHIZU        where CODENO = :parCODE ");
            if (hasPicture)
                IBSQL_UP.paramByName("parCHIZU").setBlob(
                    std::string_view(jpeg.constData(), std::size_t(jpeg.size())));
            IBSQL_UP.paramByName("parCODE").setInteger(*code);
            IBSQL_UP.execQuery();
            // A number naming no record stores nothing: that is a failure too.
            if (IBSQL_UP.rowsAffected() == 0) throw std::runtime_error("no such record");
            DM1->IBTr2.commitRetaining();
        } catch (const std::exception&) {
            platform().messageBox(this, kFailed);
            DM1->IBTr2.rollbackRetaining();
        }
    } else if (hasPicture) {
        if (!encoded) {
            platform().messageBox(this, kFailed);
        } else if (auto* map = controlOf<Image>(owner(), QStringLiteral("Image_Map"))) {
            map->setPicture(jpeg.isEmpty() ? Picture::fromBitmap(QImage())
                                           : Picture::fromJpeg(jpeg));
        }
    }
    close();
}
