#include "memo/Select_F.h"

#include "core/DM_1.h"
#include "core/columns.h"
#include "core/lists.h"
#include "memo/Show_F.h"

using namespace tolvane::ui;

TSelectF* SelectF = nullptr;

namespace {

const QColor kBlue(0, 0, 255);
const QColor kGrey(128, 128, 128);
const QColor kNavy(0, 0, 128);

// Each month's fragment, chosen and not chosen, as the statement spells it.
const char* const kChosenMonth[12] = {
    "  M1 = 1 or", "  M2 = 1 or ", "  M3 = 1 or ", "  M4 = 1 or",  "  M5 = 1 or ", "  M6 = 1 or ",
    "  M7 = 1 or ", "  M8 = 1 or ", "  M9 = 1 or ", "  M10 = 1 or", "  M11 = 1 or", "  M12 = 1 "};
const char* const kOtherMonth[12] = {
    "  M1 = 2 or", "  M2 = 2 or", "  M3 = 2 or", "  M4 = 2 or",  "  M5 = 2 or",  "  M6 = 2 or",
    "  M7 = 2 or", "  M8 = 2 or", "  M9 = 2 or", "  M10= 2 or", "  M11 = 2 or", "  M12 = 2 "};

}  // namespace

TSelectF::TSelectF(Form* owner) : Form(owner, "SelectF"), IBSQL_Out(DM1->IBDB1, DM1->IBTr1) {
    setCaption(QStringLiteral("SelectF"));
    setFixedClientSize(318, 358);
    setPosition(Position::OwnerCenter);
    setFontPx(14, true);

    Label_X001 = new Label(this, "Label_X001", QStringLiteral("検索入力"), 16, 8);
    Label_X001->setFontPx(18, true);
    Label_X001->setFontColor(kNavy);
    Label_Fish = new Label(this, "Label_Fish", QStringLiteral("魚種検索"), 16, 40);
    CBox1 = new ComboBox(this, "CBox1", 16, 60, 233, 24);
    CBox1->setDropDownCount(20);
    CheckBox1 = new CheckBox(this, "CheckBox1", QString(), 260, 62, 20, 20);
    Label_Janru = new Label(this, "Label_Janru", QStringLiteral("ジャンル検索"), 16, 92);
    CBox2 = new ComboBox(this, "CBox2", 16, 112, 233, 24);
    CBox2->setDropDownCount(20);
    CheckBox2 = new CheckBox(this, "CheckBox2", QString(), 260, 114, 20, 20);
    Label_Month = new Label(this, "Label_Month", QStringLiteral("月　検索"), 16, 150);
    CheckBox3 = new CheckBox(this, "CheckBox3", QString(), 260, 148, 20, 20);

    const QString captions[12] = {"１月", "２月", "３月", "４月", "５月", "６月",
                                  "７月", "８月", "９月", "10月", "11月", "１２月"};
    for (int i = 0; i < 12; ++i) {
        auto* b = new FlatButton(this, QStringLiteral("SBtn%1").arg((i + 1) * 10, 3, 10, QLatin1Char('0')),
                                 captions[i], 30 + 66 * (i % 4), 176 + 37 * (i / 4), 49, 33);
        b->setGroupIndex(i + 1);   // a group of its own
        b->setAllowAllUp(true);
        b->OnClick = [this, b] { SBtn000Click(b); };
        SBtns[i] = b;
    }
    SBtn010 = SBtns[0], SBtn020 = SBtns[1], SBtn030 = SBtns[2], SBtn040 = SBtns[3];
    SBtn050 = SBtns[4], SBtn060 = SBtns[5], SBtn070 = SBtns[6], SBtn080 = SBtns[7];
    SBtn090 = SBtns[8], SBtn100 = SBtns[9], SBtn110 = SBtns[10], SBtn120 = SBtns[11];

    Btn_GO = new Button(this, "Btn_GO", QStringLiteral("検　索"), 30, 302, 121, 37);
    Btn_Cancel = new Button(this, "Btn_Cancel", QStringLiteral("キャンセル"), 167, 302, 121, 37);

    OnShow = [this] { FormShow(); };
    CheckBox1->OnClick = [this] { CheckBox1Click(); };
    CheckBox2->OnClick = [this] { CheckBox2Click(); };
    CheckBox3->OnClick = [this] { CheckBox3Click(); };
    Btn_GO->OnClick = [this] { Btn_GOClick(); };
    Btn_Cancel->OnClick = [this] { Btn_CancelClick(); };
}

void TSelectF::FormShow() { InitCriteria(); }

void TSelectF::InitCriteria() {
    CBox1->clearItems();
    CBox2->clearItems();

    CBox1->addItems(FishNameList(IBSQL_Out, "FISH_MEMO", kEmptyListPlaceholder));
    CBox1->setItemIndex(0);

    IBSQL_Out.close();
    IBSQL_Out.sqlClear();
    IBSQL_Out.sqlAdd("select SYURUI from SYURUI");
    IBSQL_Out.open();
    IBSQL_Out.first();
    CBox2->addItems(firstColumnEntries(IBSQL_Out, kEmptyListPlaceholder));
    CBox2->setItemIndex(0);

    monthsOff(false);

    CheckBox1->setChecked(false);
    CheckBox2->setChecked(false);
    CheckBox3->setChecked(false);
    CBox1->setEnabled(false);
    CBox2->setEnabled(false);
}

// Every month pressed in (not chosen); `enabled` or greyed and disabled.
void TSelectF::monthsOff(bool enabled) {
    for (FlatButton* b : SBtns) {
        b->setDown(true);
        if (!enabled) b->setFontColor(kGrey);
        b->setEnabled(enabled);
    }
}

void TSelectF::CheckBox1Click() {
    if (CheckBox1->checked()) {
        CBox1->setEnabled(true);
        CBox1->setAutoDropDown(true);
        CBox1->setFocus();
    } else {
        CBox1->setEnabled(false);
    }
}

void TSelectF::CheckBox2Click() { CBox2->setEnabled(CheckBox2->checked()); }

void TSelectF::CheckBox3Click() { monthsOff(CheckBox3->checked()); }

void TSelectF::SBtn000Click(FlatButton* sender) {
    sender->setFontColor(sender->down() ? kGrey : kBlue);
}

void TSelectF::Btn_GOClick() {
    if (!CheckBox1->checked() && !CheckBox2->checked() && !CheckBox3->checked()) {
        MemoSearchSql.clear();
        close();
        return;
    }
    // Values go in as dialect-1 literals, an embedded double quote doubled;
    // a value Shift-JIS cannot hold goes in as NULL and matches no memo.
    const QString percent = searchLiteral(QStringLiteral("%"));
    QString sql = QStringLiteral(" select * from FISH_MEMO where ");
    if (CheckBox1->checked()) {
        const QString t = searchLiteral(CBox1->text());
        sql += " ( FISH1 = " + t + " or FISH2 = " + t + " or FISH3 = " + t + " ) and ";
    } else {
        sql += " ( FISH1 like " + percent + " or FISH2 like " + percent + " or FISH3 like " + percent +
               " ) and ";
    }
    if (CheckBox2->checked()) {
        const QString g = searchLiteral(CBox2->text());
        sql += " ( BUNRUI = " + g + " ) and ";
    } else {
        sql += " ( BUNRUI like " + percent + " ) and ";
    }
    if (CheckBox3->checked()) {
        sql += " ( ";
        for (int i = 0; i < 12; ++i)
            sql += QString::fromLatin1(SBtns[i]->down() ? kOtherMonth[i] : kChosenMonth[i]);
        sql += " ) and ";
    }
    sql += " CODE > 0 ";
    sql += " order by CODE ";
    MemoSearchSql = sql;
    close();
}

void TSelectF::Btn_CancelClick() {
    MemoSearchSql.clear();
    close();
}
