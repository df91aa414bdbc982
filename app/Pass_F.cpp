#include "app/Pass_F.h"

#include "core/DM_1.h"
#include "core/handover.h"
#include "ui/platform.h"

using namespace tolvane::ui;
using tolvane::db::Query;

TPassF* PassF = nullptr;

namespace {
const QColor kNavy(0, 0, 128);
}

TPassF::TPassF(Form* owner) : Form(owner, "PassF") {
    setCaption(QStringLiteral("ないしょ"));
    setFixedClientSize(400, 400);
    setPosition(Position::OwnerCenter);
    setFontPx(15);

    // Top strip, 46 high.
    Panel3 = new Panel(this, "Panel3", 0, 0, 400, 46);
    Label1 = new Label(Panel3, "Label1", QStringLiteral("表示方法は次の起動時から有効"), 12, 16);
    Btn_NO = new Button(Panel3, "Btn_NO", QStringLiteral("戻　　る"), 304, 10, 81, 27);

    // Bottom, 160 high: the boat or point wording.
    Panel2 = new Panel(this, "Panel2", 0, 240, 400, 160);
    Label33 = new Label(Panel2, "Label33", QStringLiteral("「船」・「ポイント」の選択"), 16, 12);
    Label_Fune = new Label(Panel2, "Label_Fune", QStringLiteral("船・ポイント"), 200, 12);
    Label_Fune->setFontPx(15, true);
    Label_Fune->setFontColor(kNavy);
    RadioGroup2 = new RadioGroup(Panel2, "RadioGroup2", QString(), 16, 40, 249, 81);
    RadioGroup2->setItems({QStringLiteral("「船」で表示"), QStringLiteral("「ポイント」で表示")});
    RadioGroup2->setItemIndex(0);
    Btn_Fune = new Button(Panel2, "Btn_Fune", QStringLiteral("変　更"), 288, 88, 89, 33);

    // The middle: the tide-chart style.
    Panel1 = new Panel(this, "Panel1", 0, 46, 400, 194);
    Label11 = new Label(Panel1, "Label11", QStringLiteral("潮位　表示方法"), 16, 12);
    // Clear of Label11 also when it holds its longer text after a failed read.
    Label_Shio = new Label(Panel1, "Label_Shio", QStringLiteral("潮　表示方法"), 176, 12);
    Label_Shio->setFontPx(15, true);
    Label_Shio->setFontColor(kNavy);
    RadioGroup1 = new RadioGroup(Panel1, "RadioGroup1", QString(), 16, 40, 249, 97);
    RadioGroup1->setItems({QStringLiteral("MY　オリジナルの潮位表示"), QStringLiteral("一般の潮位表示")});
    RadioGroup1->setItemIndex(0);
    Btn_Shio = new Button(Panel1, "Btn_Shio", QStringLiteral("変　更"), 288, 104, 89, 33);

    IBSQL = std::make_unique<Query>(DM1->IBDB2, DM1->IBTr2);

    // Bound after the design state is set: choosing an item previews it.
    RadioGroup1->OnClick = [this] { RadioGroup1Click(); };
    RadioGroup2->OnClick = [this] { RadioGroup2Click(); };
    Btn_Shio->OnClick = [this] { Btn_ShioClick(); };
    Btn_Fune->OnClick = [this] { Btn_FuneClick(); };
    Btn_NO->OnClick = [this] { Btn_NOClick(); };
    OnShow = [this] { FormShow(); };
}

TPassF::~TPassF() = default;

void TPassF::FormShow() {
    try {
        IBSQL->close();
        IBSQL->sqlClear();
        IBSQL->sqlAdd(" select P01_PASSWD,P02_PASSWD from FISH_PASS where P00_CODENO = 0 ");
        IBSQL->open();
        const bool rows = !IBSQL->eof();
        // A missing row reads as NULL: the second item in both groups.
        const bool rect = rows && IBSQL->fieldByName("P01_PASSWD").asInteger() == 1;
        const bool boat = rows && IBSQL->fieldByName("P02_PASSWD").asString() == "FUNE";
        Label_Shio->setCaption(rect ? QStringLiteral("オリジナルの潮位表示方法")
                                    : QStringLiteral("一般の潮位　表示方法"));
        RadioGroup1->setItemIndex(rect ? 0 : 1);
        Label_Fune->setCaption(boat ? QStringLiteral("船で表示") : QStringLiteral("ポイントで表示"));
        RadioGroup2->setItemIndex(boat ? 0 : 1);
    } catch (const std::exception&) {
        Label11->setCaption(QStringLiteral("一般の潮位　表示方法"));
        Label33->setCaption(QStringLiteral("船・ポイントの表示"));
    }
}

void TPassF::RadioGroup1Click() {
    Label_Shio->setCaption(RadioGroup1->itemIndex() == 0 ? QStringLiteral("オリジナルの潮位表示方法")
                                                         : QStringLiteral("一般の潮位　表示方法"));
}

void TPassF::RadioGroup2Click() {
    Label_Fune->setCaption(RadioGroup2->itemIndex() == 0 ? QStringLiteral("船で表示")
                                                         : QStringLiteral("ポイントで表示"));
}

bool TPassF::storeSetting() {
    try {
        IBSQL->execQuery();
        // Row 0 is created at start; when that failed there is nothing to
        // update, and the setting would be lost at the next start.
        if (IBSQL->rowsAffected() < 1) throw std::runtime_error("row 0 of FISH_PASS is missing");
        DM1->IBTr2.commitRetaining();
        return true;
    } catch (const std::exception&) {
        try {
            DM1->IBTr2.rollbackRetaining();
        } catch (const std::exception&) {
        }
        platform().messageBox(this, QStringLiteral("失敗しました"));
        return false;
    }
}

void TPassF::Btn_ShioClick() {
    const bool rect = RadioGroup1->itemIndex() == 0;
    IBSQL->close();
    IBSQL->sqlClear();
    IBSQL->sqlAdd(rect ? " update FISH_PASS set P01_PASSWD = 1 where P00_CODENO = 0"
                       : " update FISH_PASS set P01_PASSWD = 0 where P00_CODENO = 0");
    if (!storeSetting()) return;
    Label_Shio->setCaption(rect ? QStringLiteral("ＭＹ　オリジナルの潮位表示方法")
                                : QStringLiteral("一般の潮位　表示方法"));
    platform().messageBox(this, QStringLiteral("変更しました"));
    ShioMode = rect ? 1 : 0;
}

void TPassF::Btn_FuneClick() {
    const bool boat = RadioGroup2->itemIndex() == 0;
    IBSQL->close();
    IBSQL->sqlClear();
    IBSQL->sqlAdd(" update FISH_PASS set P02_PASSWD = :parFUNE where P00_CODENO = 0 ");
    IBSQL->paramByName("parFUNE").setString(boat ? "FUNE" : "POINT");
    if (!storeSetting()) return;
    if (boat) {
        platform().messageBox(this, QStringLiteral("変更しました"));
        Label_Fune->setCaption(QStringLiteral("船で表示"));
    } else {
        Label_Fune->setCaption(QStringLiteral("ポイントで表示"));
        platform().messageBox(this, QStringLiteral("変更しました"));
    }
    FuneWord = boat ? QStringLiteral("船") : QStringLiteral("ポイント");
}

void TPassF::Btn_NOClick() { close(); }
