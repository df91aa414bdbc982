#include "totals/Fish_Name_F.h"

#include "core/handover.h"
#include "core/lists.h"
#include "ui/guard.h"

using namespace tolvane::ui;

TFishNameF* FishNameF = nullptr;

TFishNameF::TFishNameF(Form* owner) : Form(owner, "FishNameF") {
    setCaption(QStringLiteral("FishNameF"));
    setFixedClientSize(300, 400);
    setPosition(Position::OwnerCenter);
    setColor(QColor(192, 248, 201));
    setFontPx(16);

    Label1 = new Label(this, "Label1", QStringLiteral("魚種名の選択"), 32, 13);
    Label1->setFontPx(16, true);
    ListBox1 = new ListBox(this, "ListBox1", 8, 40, 273, 321);
    ListBox1->setColumns(2);
    ListBox1->setItemHeight(18);
    Btn_Close = new Button(this, "Btn_Close", QStringLiteral("キャンセル"), 168, 4, 113, 33);
    Btn_Close->setFontPx(16, true);

    ListBox1->OnClick = [this] { ListBox1Click(); };
    Btn_Close->OnClick = [this] { Btn_CloseClick(); };
    guarded(this, [this] { FormCreate(); });
}

// Closed without a pick (cancel, title bar, an error): nothing to show.
TFishNameF::~TFishNameF() {
    if (!picked_) TotalMode = 4;
}

void TFishNameF::FormCreate() {
    ListBox1->clearItems();
    for (const QString& name : FishNameList(IBSQL_Fish, "FISH_DATA")) ListBox1->addItem(name);
}

void TFishNameF::ListBox1Click() {
    const int i = ListBox1->itemIndex();
    if (i < 0) return;
    TotalFish = ListBox1->itemText(i);
    picked_ = true;
    close();
}

void TFishNameF::Btn_CloseClick() {
    TotalMode = 4;
    close();
}
