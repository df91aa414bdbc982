#include "lessons/Kadai_In_F.h"

#include "core/DM_1.h"
#include "core/columns.h"
#include "core/handover.h"
#include "core/messages.h"
#include "ui/platform.h"

using namespace tolvane::ui;

TKadai_InF* Kadai_InF = nullptr;

namespace {
const QColor kWindow(170, 211, 249);
const QColor kNavy(0, 0, 128);
}  // namespace

TKadai_InF::TKadai_InF(Form* owner) : Form(owner, "Kadai_InF"), IBSQL(DM1->IBDB1, DM1->IBTr1) {
    setCaption(QStringLiteral("次回への課題"));
    setFixedClientSize(640, 480);
    setPosition(Position::OwnerCenter);
    // The close box only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setColor(kWindow);
    setFontPx(15);

    Label1 = new Label(this, "Label1", QStringLiteral("次回以降の釣行時への課題"), 16, 8);
    Label1->setFontPx(19, true);
    Label1->setFontColor(kNavy);
    Label_No = new Label(this, "Label_No", QString(), 280, 11);

    Edit_Place = new Edit(this, "Edit_Place", 16, 32, 121, 23);
    Edit_Place->setReadOnly(true);
    Edit_Place->setImeMode(ImeMode::Hiragana);
    Edit_Fish = new Edit(this, "Edit_Fish", 144, 32, 121, 23);
    Edit_Fish->setReadOnly(true);
    Edit_Fish->setImeMode(ImeMode::Hiragana);
    Edit_Tuki = new Edit(this, "Edit_Tuki", 272, 32, 49, 23);

    Btn_In = new Button(this, "Btn_In", QStringLiteral("入　力"), 432, 24, 89, 33);
    Btn_In->setFontPx(16, true);
    Btn_Return = new Button(this, "Btn_Return", QStringLiteral("戻　る"), 528, 24, 89, 33);
    Btn_Return->setFontPx(16, true);

    Memo1 = new Memo(this, "Memo1", 16, 64, 601, 369);
    Memo1->setImeMode(ImeMode::Hiragana);

    OnShow = [this] { FormShow(); };
    Btn_In->OnClick = [this] { Btn_InClick(); };
    Btn_Return->OnClick = [this] { Btn_ReturnClick(); };
}

TKadai_InF::~TKadai_InF() = default;

void TKadai_InF::InitKadaiForm() {
    Edit_Place->clear();
    Edit_Fish->clear();
    Edit_Tuki->clear();
    Memo1->clear();
    try {
        newNo_ = tolvane::db::nextKey(IBSQL, "select max(K00_CODENO) from FISH_KADAI");
    } catch (const std::exception&) {
        // No lessons table (or no memo database): nothing can be stored, the
        // hand-over values are still shown.
        newNo_ = 0;
        Btn_In->setEnabled(false);
        Label_No->setCaption(QString());
        platform().messageBox(this, KadaiTableMissingMessage);
        Memo1->setFocus();
        return;
    }
    if (KadaiMode == 1) {
        Btn_In->setEnabled(true);
        Label_No->setCaption(QString::number(newNo_));
    } else {
        Btn_In->setEnabled(false);
        Label_No->setCaption(QString());
    }
    Memo1->setFocus();
}

void TKadai_InF::FormShow() {
    InitKadaiForm();
    Edit_Place->setText(KadaiPlace);
    Edit_Fish->setText(KadaiFish);
    Edit_Tuki->setText(QStringLiteral(" ") + KadaiMonth + QStringLiteral(" 月"));
    Memo1->setFocus();
}

void TKadai_InF::Btn_InClick() {
    if (Memo1->text().isEmpty()) {
        platform().messageBox(this, QStringLiteral("データが未入力です"));
        return;
    }
    KadaiInsert();
}

void TKadai_InF::KadaiInsert() {
    IBSQL.close();
    IBSQL.sqlClear();
    IBSQL.sqlAdd(
        "insert into FISH_KADAI ( K00_CODENO , K00_PAPANO , K01_FISH , K02_PLACE , K03_TUKI , "
        "K10_MEMO ) values ( :parK00_CODENO , :parK00_PAPANO , :parK01_FISH , :parK02_PLACE , "
        ":parK03_TUKI , :parK10_MEMO )");
    // A character Shift-JIS cannot hold is refused before anything is sent,
    // named with its box (the place and fish come typed from the catch
    // windows); the window stays open with the text.
    const QString unstorable = unstorableTextLine({{KadaiPlace, QStringLiteral("場所")},
                                                   {KadaiFish, QStringLiteral("魚種")},
                                                   {Memo1->text(), LessonTextBoxName}});
    if (!unstorable.isEmpty()) {
        DM1->IBTr1.rollbackRetaining();
        platform().messageBox(this, failureMessage(QStringLiteral("入力に失敗しました"), unstorable));
        return;
    }
    try {
        // The values come from the hand-over variables, never from the boxes.
        IBSQL.paramByName("parK00_CODENO").setInteger(newNo_);
        IBSQL.paramByName("parK00_PAPANO").setInteger(KadaiPapaNo);
        IBSQL.paramByName("parK01_FISH").setString(KadaiFish.toStdString());
        IBSQL.paramByName("parK02_PLACE").setString(KadaiPlace.toStdString());
        IBSQL.paramByName("parK03_TUKI").setString(KadaiMonth.toStdString());
        IBSQL.paramByName("parK10_MEMO").setTextBlob(Memo1->text().toStdString());
        IBSQL.execQuery();
        DM1->IBTr1.commitRetaining();
    } catch (const std::exception& e) {
        try {
            DM1->IBTr1.rollbackRetaining();
        } catch (const std::exception&) {
        }
        platform().messageBox(this, QString::fromStdString(e.what()));
        return;
    }
    close();
}

void TKadai_InF::Btn_ReturnClick() { close(); }
