#include "catch/Kensaku_F.h"

#include <QCloseEvent>

#include "core/DM_1.h"
#include "core/handover.h"
#include "core/lists.h"
#include "ui/platform.h"

using namespace tolvane::ui;

TKensakuF* KensakuF = nullptr;

TKensakuF::TKensakuF(Form* owner) : Form(owner, "KensakuF"), IBSQL(DM1->IBDB2, DM1->IBTr2) {
    setCaption(QStringLiteral("検索"));
    setFixedClientSize(300, 400);
    setPosition(Position::OwnerCenter);
    setColor(QColor(170, 211, 249));
    setFontPx(15);

    Label2 = new Label(this, "Label2", QStringLiteral("検索条件"), 16, 16);
    Label2->setFontPx(19, true);
    Btn_Close = new Button(this, "Btn_Close", QStringLiteral("閉じる"), 184, 8, 97, 33);
    Btn_Close->setFontPx(15, true);

    C_Box_Fish = new CheckBox(this, "C_Box_Fish", QStringLiteral("魚種で検索します"), 16, 56, 200, 21);
    C_Box_Fish->setFontPx(15, true);
    CBox_Fish = new ComboBox(this, "CBox_Fish", 56, 80, 145, 24);
    CBox_Fish->setFontPx(16);
    CBox_Fish->setDropDownCount(20);
    CBox_Fish->setPickOnly(true);

    C_Box_Tuki = new CheckBox(this, "C_Box_Tuki", QStringLiteral("釣行月で検索します"), 16, 120, 200, 21);
    C_Box_Tuki->setFontPx(15, true);
    const QString captions[12] = {QStringLiteral("１"), QStringLiteral("２"), QStringLiteral("３"),
                                  QStringLiteral("４"), QStringLiteral("５"), QStringLiteral("６"),
                                  QStringLiteral("７"), QStringLiteral("８"), QStringLiteral("９"),
                                  QStringLiteral("10"), QStringLiteral("11"), QStringLiteral("12")};
    Button* months[12];
    for (int i = 0; i < 12; ++i) {
        const QString name = QStringLiteral("Btn_M%1").arg(i + 1, 2, 10, QLatin1Char('0'));
        months[i] = new Button(this, name, captions[i], 56 + 34 * (i % 6), i < 6 ? 144 : 176, 35, 33);
        months[i]->setFontPx(19, true);
        months[i]->OnClick = [this, b = months[i]] { Btn_MMM_Click(b); };
    }
    Btn_M01 = months[0], Btn_M02 = months[1], Btn_M03 = months[2], Btn_M04 = months[3];
    Btn_M05 = months[4], Btn_M06 = months[5], Btn_M07 = months[6], Btn_M08 = months[7];
    Btn_M09 = months[8], Btn_M10 = months[9], Btn_M11 = months[10], Btn_M12 = months[11];

    C_Box_Basyo = new CheckBox(this, "C_Box_Basyo", QStringLiteral("場所で検索します"), 16, 224, 200, 21);
    C_Box_Basyo->setFontPx(15, true);
    CBox_Basyo = new ComboBox(this, "CBox_Basyo", 56, 256, 145, 24);
    CBox_Basyo->setDropDownCount(20);
    CBox_Basyo->setPickOnly(true);

    Btn_Kensaku_Go = new Button(this, "Btn_Kensaku_Go", QStringLiteral("検索条件"), 8, 304, 273, 49);
    Btn_Kensaku_Go->setFontPx(15, true);

    FormCreate();

    OnShow = [this] { FormShow(); };
    Btn_Close->OnClick = [this] { Btn_CloseClick(); };
    C_Box_Fish->OnClick = [this] { C_Box_FishClick(); };
    C_Box_Tuki->OnClick = [this] { C_Box_TukiClick(); };
    C_Box_Basyo->OnClick = [this] { C_Box_BasyoClick(); };
    CBox_Fish->OnChange = [this] { CBox_FishChange(); };
    CBox_Basyo->OnChange = [this] { CBox_BasyoChange(); };
    Btn_Kensaku_Go->OnClick = [this] { Btn_Kensaku_GoClick(); };
}

TKensakuF::~TKensakuF() = default;

Button* TKensakuF::monthButton(int month) const {
    const QString name = month < 10 ? QStringLiteral("Btn_M0%1").arg(month) : QStringLiteral("Btn_M%1").arg(month);
    return findControl<Button>(name);
}

void TKensakuF::FormCreate() {
    C_Box_Fish->setChecked(false);
    C_Box_Tuki->setChecked(false);
    C_Box_Basyo->setChecked(false);
    SearchMask = 0;

    CBox_Fish->setEnabled(false);
    for (int m = 1; m <= 12; ++m) monthButton(m)->setEnabled(false);
    CBox_Basyo->setEnabled(false);

    SearchFish.clear();
    SearchPlace.clear();
    SearchMonth.clear();
    Btn_Kensaku_Go->setCaption(QStringLiteral("検索条件"));

    CBox_Fish->clearItems();
    CBox_Fish->addItems(FishNameList(IBSQL, "FISH_DATA", kEmptyListPlaceholder));
    CBox_Fish->setItemIndex(0);

    IBSQL.close();
    IBSQL.sqlClear();
    IBSQL.sqlAdd(" select distinct BASYO from FISH_DATA ");
    IBSQL.open();
    IBSQL.first();
    CBox_Basyo->clearItems();
    CBox_Basyo->addItems(firstColumnEntries(IBSQL, kEmptyListPlaceholder));
    CBox_Basyo->setItemIndex(0);
}

void TKensakuF::FormShow() {
    accepted_ = false;
    Btn_Close->setFocus();
}

void TKensakuF::C_Box_FishClick() {
    if (C_Box_Fish->checked()) {
        CBox_Fish->setEnabled(true);
        SearchMask += 1;
    } else {
        CBox_Fish->setEnabled(false);
        SearchFish.clear();
        SearchMask -= 1;
        CBox_Fish->setItemIndex(-1);
    }
    SetKensakuCaption();
}

void TKensakuF::C_Box_TukiClick() {
    const bool on = C_Box_Tuki->checked();
    for (int m = 1; m <= 12; ++m) monthButton(m)->setEnabled(on);
    if (on) {
        SearchMask += 2;
    } else {
        SearchMask -= 2;
        SearchMonth.clear();
    }
    SetKensakuCaption();
}

void TKensakuF::C_Box_BasyoClick() {
    if (C_Box_Basyo->checked()) {
        CBox_Basyo->setEnabled(true);
        SearchMask += 4;
    } else {
        CBox_Basyo->setEnabled(false);
        SearchPlace.clear();
        SearchMask -= 4;
        CBox_Basyo->setItemIndex(-1);
    }
    SetKensakuCaption();
}

void TKensakuF::CBox_FishChange() {
    SearchFish = CBox_Fish->text();
    SetKensakuCaption();
}

void TKensakuF::CBox_BasyoChange() {
    SearchPlace = CBox_Basyo->text();
    SetKensakuCaption();
}

void TKensakuF::Btn_MMM_Click(Button* sender) {
    SearchMonth = sender->name().right(2);   // Btn_M01 gives "01"
    SetKensakuCaption();
}

void TKensakuF::SetKensakuCaption() {
    if (SearchMask == 0) {
        Btn_Kensaku_Go->setCaption(QStringLiteral("検索条件"));
        return;
    }
    QStringList items;
    const QString q = QStringLiteral("\"");
    if (SearchMask & 1) items << q + SearchFish + q;
    if (SearchMask & 2) items << q + SearchMonth + QStringLiteral(" 月") + q;
    if (SearchMask & 4) items << q + SearchPlace + q;
    // The CR of the caption is a line break on the button.
    Btn_Kensaku_Go->setCaption(items.join(QLatin1Char(' ')) + QLatin1Char('\n') +
                               QStringLiteral("の条件で検索します"));
}

void TKensakuF::Btn_Kensaku_GoClick() {
    const bool complete = SearchMask != 0 && (!(SearchMask & 1) || !SearchFish.isEmpty()) &&
                          (!(SearchMask & 2) || !SearchMonth.isEmpty()) &&
                          (!(SearchMask & 4) || !SearchPlace.isEmpty());
    if (!complete) {
        platform().messageBox(this, QStringLiteral("条件が入っていません"));
        return;
    }
    accepted_ = true;
    close();
}

void TKensakuF::Btn_CloseClick() {
    SearchMask = 0;
    accepted_ = true;
    close();
}

void TKensakuF::closeEvent(QCloseEvent* e) {
    if (!accepted_) SearchMask = 0;
    accepted_ = true;
    Form::closeEvent(e);
}
