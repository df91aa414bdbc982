#include "app/Main_F.h"

#include <QWidget>

#include "address/Name_Show_F.h"
#include "address/Name_sel_F.h"
#include "app/Pass_F.h"
#include "catch/Fish_Data_IN.h"
#include "catch/Fishdata_F.h"
#include "core/DM_1.h"
#include "core/file_notices.h"
#include "core/messages.h"
#include "lessons/Kadai_Out_F.h"
#include "lessons/Kadai_Sel_F.h"
#include "maintenance/Mente_F.h"
#include "memo/Input_F.h"
#include "memo/Show_F.h"
#include "totals/Bunseki_F.h"
#include "ui/platform.h"

using namespace tolvane::ui;
using tolvane::db::Query;

TMainF* MainF = nullptr;

namespace {

const QColor kGroupTitle(0, 0, 255);   // blue

Button* menuButton(QWidget* parent, const char* name, const QString& caption, int l, int t,
                   int w, int h) {
    auto* b = new Button(parent, name, caption, l, t, w, h);
    b->setFontPx(21, true);
    return b;
}

Label* groupTitle(QWidget* parent, const char* name, const QString& caption, int l, int t,
                  bool blue) {
    auto* lb = new Label(parent, name, caption, l, t);
    lb->setFontPx(21, true);
    if (blue) lb->setFontColor(kGroupTitle);
    return lb;
}

}  // namespace

TMainF::TMainF() : Form(nullptr, "MainF") {
    setCaption(QStringLiteral("釣果記録"));
    setFixedClientSize(600, 480);
    setPosition(Position::ScreenCenter);
    setColor(QColor(192, 248, 201));
    setFontPx(16);

    // Frames first, so that they lie beneath the controls they surround.
    Bevel4 = new Bevel(this, "Bevel4", 16, 56, 273, 345);
    Bevel5 = new Bevel(this, "Bevel5", 24, 256, 257, 137);
    Bevel1 = new Bevel(this, "Bevel1", 304, 56, 273, 145);
    Bevel2 = new Bevel(this, "Bevel2", 304, 224, 273, 81);
    Bevel3 = new Bevel(this, "Bevel3", 304, 328, 273, 105);

    Label9 = groupTitle(this, "Label9", QStringLiteral("釣果管理データベース"), 8, 18, false);
    Button1 = menuButton(this, "Button1", QStringLiteral("閉じる"), 429, 10, 145, 33);

    Label3 = groupTitle(this, "Label3", QStringLiteral("ＳＯＲＶＥＮＤＡ"), 24, 64, true);
    Label5 = groupTitle(this, "Label5", QStringLiteral("釣果記録"), 208, 68, false);
    Btn_Data_Out = menuButton(this, "Btn_Data_Out", QStringLiteral("ＤＡＴＡ　表示"), 32, 88, 241, 49);

    Label1 = groupTitle(this, "Label1", QStringLiteral("ＫＥＬＤＭＡＲＫ"), 24, 160, true);
    Label2 = groupTitle(this, "Label2", QStringLiteral("備忘録"), 216, 163, false);
    // The window font's four characters at 208 would reach past the frame
    // line at 288: the two titles end at the same place instead.
    Label5->setLeft(Label2->left() + Label2->width() - Label5->width());
    Btn_Memo_Out = menuButton(this, "Btn_Memo_Out", QStringLiteral("ＭＥＭＯ　表示"), 32, 184, 241, 49);

    Label8 = groupTitle(this, "Label8", QStringLiteral("年度毎、月別釣果累計"), 32, 264, false);
    Btn_Bunseki = menuButton(this, "Btn_Bunseki", QStringLiteral("各種分析"), 32, 288, 241, 33);
    Label11 = groupTitle(this, "Label11", QStringLiteral("釣行時の課題の表示"), 32, 328, false);
    Btn_Kadai = menuButton(this, "Btn_Kadai", QStringLiteral("課題を表示"), 32, 352, 241, 33);

    Label7 = groupTitle(this, "Label7", QStringLiteral("DATA INPUT"), 320, 64, true);
    Btn_Data_In = menuButton(this, "Btn_Data_In", QStringLiteral("ＤＡＴＡ　入力"), 336, 96, 209, 33);
    Btn_Memo_In = menuButton(this, "Btn_Memo_In", QStringLiteral("ＭＥＭＯ　入力"), 336, 152, 209, 33);

    Label10 = groupTitle(this, "Label10", QStringLiteral("ＭＥＮＴＮＡＮＣＥ"), 320, 232, true);
    Btn_Mente = menuButton(this, "Btn_Mente", QStringLiteral("メンテナンス"), 336, 256, 209, 33);

    Label4 = groupTitle(this, "Label4", QStringLiteral("ADDRESS"), 320, 330, true);
    Btn_Name = menuButton(this, "Btn_Name", QStringLiteral("関連簡易住所録"), 336, 352, 209, 33);
    Btn_Name_In = menuButton(this, "Btn_Name_In", QStringLiteral("住所入力"), 336, 392, 209, 33);

    Label6 = new Label(this, "Label6", QStringLiteral("Label6"), 32, 421);

    // Keyboard order; the first one has the focus when the window opens.
    QWidget* order[] = {Btn_Memo_Out, Btn_Memo_In, Btn_Mente,   Btn_Data_Out, Btn_Data_In,
                        Btn_Name,     Btn_Name_In, Btn_Bunseki, Button1,      Btn_Kadai};
    for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
    Btn_Memo_Out->setFocus();

    IBSQL = std::make_unique<Query>(DM1->IBDB2, DM1->IBTr2);
    IBSQL_K = std::make_unique<Query>(DM1->IBDB1, DM1->IBTr1);
    IBSQL_1 = std::make_unique<Query>(DM1->IBDB2, DM1->IBTr2);

    OnShow = [this] { FormShow(); };
    Btn_Data_Out->OnClick = [this] { Btn_Data_OutClick(); };
    Btn_Data_In->OnClick = [this] { Btn_Data_InClick(); };
    Btn_Memo_Out->OnClick = [this] { Btn_Memo_OutClick(); };
    Btn_Memo_In->OnClick = [this] { Btn_Memo_InClick(); };
    Btn_Bunseki->OnClick = [this] { Btn_BunsekiClick(); };
    Btn_Kadai->OnClick = [this] { Btn_KadaiClick(); };
    Btn_Mente->OnClick = [this] { Btn_MenteClick(); };
    Btn_Name->OnClick = [this] { Btn_NameClick(); };
    Btn_Name_In->OnClick = [this] { Btn_Name_InClick(); };
    Button1->OnClick = [this] { Button1Click(); };
    Label6->OnDblClick = [this] { Label6DblClick(); };
}

TMainF::~TMainF() = default;

QString TMainF::GetVersionInfo() {
    const QString v = platform().version();
    if (v.isEmpty()) throw std::runtime_error("The program's version information cannot be read");
    return v;
}

void TMainF::FormShow() {
    // The start sequence runs once, at the first showing.
    if (shownOnce_) return;
    shownOnce_ = true;

    DataMode = OLD_Flg;
    Label6->setCaption(QStringLiteral("Ver ") + GetVersionInfo());

    // The first query of the run attaches the catch-data database. Not
    // guarded: a failure ends the start sequence in the error box.
    IBSQL->close();
    IBSQL->sqlClear();
    IBSQL->sqlAdd(" select P01_PASSWD,P02_PASSWD  from FISH_PASS where P00_CODENO = 0 ");
    try {
        IBSQL->open();
    } catch (const tolvane::db::Error& e) {
        // Attached, but the statement failed (no FISH_PASS): the error box.
        if (DM1->IBDB2.connected()) throw;
        // The file itself could not be attached: the notice names it and
        // its directory, and the start sequence ends here.
        platform().messageBox(this, QString::fromStdString(DatabaseFileNotice(DatabaseFile::Catch, DM1->IBDB2.databaseName, e)));
        return;
    }

    if (IBSQL->eof() || IBSQL->fieldByName("P01_PASSWD").isNull()) {
        // No usable row 0: store the default one. ShioMode and FuneWord keep
        // their start values for this run.
        try {
            IBSQL->close();
            IBSQL->sqlClear();
            IBSQL->sqlAdd(" insert into FISH_PASS (P00_CODENO,P01_PASSWD,P02_PASSWD) values ( 0 , 0 , ");
            IBSQL->sqlAdd(tolvane::db::quoted("NOT"));
            IBSQL->sqlAdd(" ) ");
            IBSQL->execQuery();
            DM1->IBTr2.commitRetaining();
        } catch (const std::exception&) {
            try {
                DM1->IBTr2.rollbackRetaining();
            } catch (const std::exception&) {
            }
        }
    } else {
        ShioMode = IBSQL->fieldByName("P01_PASSWD").asInteger() == 1 ? 1 : 0;
        FuneWord = IBSQL->fieldByName("P02_PASSWD").asString() == "FUNE" ? QStringLiteral("船")
                                                                          : QStringLiteral("ポイント");
    }

    // Lessons-table probe on the memo database (its first attach).
    try {
        IBSQL_K->close();
        IBSQL_K->sqlClear();
        IBSQL_K->sqlAdd("select * from FISH_KADAI");
        IBSQL_K->open();
    } catch (const std::exception& e) {
        // Attached but without the table: the maintenance window creates it.
        platform().messageBox(this, DM1->IBDB1.connected()
                                        ? KadaiTableMissingMessage
                                        : QString::fromStdString(
                                              DatabaseFileNotice(DatabaseFile::Memo, DM1->IBDB1.databaseName, e)));
    }
}

void TMainF::Btn_Data_OutClick() { openModal(FishdataF, this); }

void TMainF::Btn_Data_InClick() { OpenFishDataIn(this); }

void TMainF::Btn_Memo_OutClick() { openModal(ShowF, this); }
void TMainF::Btn_Memo_InClick() { openModal(InputF, this); }
void TMainF::Btn_BunsekiClick() { openModal(BunsekiF, this); }

void TMainF::Btn_KadaiClick() {
    KadaiMode = 0;
    openModal(Kadai_SelF, this);
    if (KadaiMode != 3) openModal(Kadai_OutF, this);
}

void TMainF::Btn_MenteClick() { openModal(MenteF, this); }

// After the list, the entry last saved from it is shown once more.
void TMainF::Btn_NameClick() {
    AddrMode = 0;
    openModal(Name_SelF, this);
    if (AddrCode > -1) openModal(Name_ShowF, this);
}

void TMainF::Btn_Name_InClick() {
    AddrMode = 1;
    openModal(Name_ShowF, this);
}

void TMainF::Button1Click() { close(); }

void TMainF::Label6DblClick() { openModal(PassF, this); }
