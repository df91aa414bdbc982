#include "address/Name_sel_F.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPalette>

#include "address/Name_Show_F.h"
#include "core/DM_1.h"
#include "core/handover.h"
#include "ui/guard.h"

using namespace tolvane::ui;

TName_SelF* Name_SelF = nullptr;

namespace {
void showDown(FlatButton* b) {
    b->setBold(b->down());
    b->setFontColor(b->down() ? QColor(Qt::blue) : QApplication::palette().color(QPalette::ButtonText));
}
}  // namespace

TName_SelF::TName_SelF(Form* owner) : Form(owner, "Name_SelF"), IBSQL(DM1->IBDB2, DM1->IBTr2) {
    setCaption(QStringLiteral("住所録"));
    setFixedClientSize(400, 300);
    setPosition(Position::OwnerCenter);
    setFontPx(15);

    S_Btn_Shop = new FlatButton(this, "S_Btn_Shop", QStringLiteral("ＳＨＯＰ"), 8, 8, 81, 25);
    S_Btn_Name = new FlatButton(this, "S_Btn_Name", QStringLiteral("名　前"), 88, 8, 81, 25);
    S_Btn_Shop->setGroupIndex(1);
    S_Btn_Name->setGroupIndex(1);
    Btn_Close = new Button(this, "Btn_Close", QStringLiteral("閉じる"), 312, 6, 75, 29);

    struct Filter {
        Button** var;
        const char* name;
        const char* caption;
        int kind;
    };
    const Filter filters[] = {{&Btn_Other, "Btn_Other", "----", 0},   {&Btn_Shop, "Btn_Shop", "SHOP", 1},
                              {&Btn_fune, "Btn_fune", "釣り船", 2},   {&Btn_Tosen, "Btn_Tosen", "渡　船", 3},
                              {&Btn_Kojin, "Btn_Kojin", "個　人", 4}, {&Btn_all, "Btn_all", "全件", 100}};
    int left = 5;
    for (const Filter& f : filters) {
        Button* b = new Button(this, f.name, QString::fromUtf8(f.caption), left, 44, 65, 33);
        b->Tag = f.kind;
        b->OnClick = [this, b] { Btn_ZZ_Click(b); };
        *f.var = b;
        left += 65;
    }

    ListBox1 = new ListBox(this, "ListBox1", 11, 88, 377, 185);
    ListBox1->setColumns(3);
    ListBox1->setItemHeight(16);
    ListBox1->viewport()->installEventFilter(this);

    S_Btn_Shop->OnClick = [this] { S_Btn_XX_Click(); };
    S_Btn_Name->OnClick = [this] { S_Btn_XX_Click(); };
    Btn_Close->OnClick = [this] { Btn_CloseClick(); };
    ListBox1->OnDblClick = [this] { ListBox1DblClick(); };
    OnShow = [this] { FormShow(); };

    // The layer has no create event: the list's own set-up runs here.
    guarded(this, [this] { FormCreate(); });
}

TName_SelF::~TName_SelF() = default;

void TName_SelF::FormCreate() {
    AddrCode = -1;   // first, so a failed read leaves no entry to reopen
    S_Btn_Shop->setDown(true);
    showDown(S_Btn_Shop);
    showDown(S_Btn_Name);
    AddrRead(100);
    ListSet();
}

void TName_SelF::FormShow() { Btn_all->setFocus(); }

void TName_SelF::Btn_ZZ_Click(Button* sender) {
    AddrRead(sender->Tag);
    ListSet();
}

void TName_SelF::S_Btn_XX_Click() {
    showDown(S_Btn_Shop);
    showDown(S_Btn_Name);
    ListSet();
}

void TName_SelF::AddrRead(int kind) {
    const std::string where = kind < 50 ? " where A01_SYBETU = " + std::to_string(kind) : std::string();
    IBSQL.close();
    IBSQL.sqlClear();
    IBSQL.sqlAdd(" select count(*) from FISH_ADDR " + where);
    IBSQL.open();
    AddrCount = IBSQL.fields(0).asInteger();

    // Filled from the rows themselves, however many the count said.
    for (QStringList& row : AddrList) row.clear();
    IBSQL.close();
    IBSQL.sqlClear();
    IBSQL.sqlAdd(" select * from FISH_ADDR " + where + " order by A00_CODENO ");
    IBSQL.open();
    for (IBSQL.first(); !IBSQL.eof(); IBSQL.next()) {
        AddrList[0] << QString::number(IBSQL.fieldByName("A00_CODENO").asInteger());
        AddrList[1] << QString::fromStdString(IBSQL.fieldByName("A02_SHOP").asString());
        AddrList[2] << QString::fromStdString(IBSQL.fieldByName("A03_NAME").asString());
    }
    AddrCount = static_cast<int>(AddrList[0].size());
}

void TName_SelF::ListSet() {
    ListBox1->clearItems();
    const QStringList& shown = S_Btn_Shop->down() ? AddrList[1] : AddrList[2];
    for (int i = 0; i < AddrCount; ++i) ListBox1->addItem(shown[i]);
}

bool TName_SelF::eventFilter(QObject* watched, QEvent* e) {
    // Whether the double click hit an entry (not the empty space below).
    if (watched == ListBox1->viewport() && e->type() == QEvent::MouseButtonDblClick)
        dblClickOnItem_ = ListBox1->itemAt(static_cast<QMouseEvent*>(e)->position().toPoint()) != nullptr;
    return Form::eventFilter(watched, e);
}

void TName_SelF::ListBox1DblClick() {
    const int i = ListBox1->itemIndex();
    if (!dblClickOnItem_ || i < 0 || i >= AddrList[0].size()) return;
    dblClickOnItem_ = false;
    AddrCode = AddrList[0][i].toInt();
    if (AddrCode > -1) openModal(Name_ShowF, this);
}

void TName_SelF::Btn_CloseClick() { close(); }
