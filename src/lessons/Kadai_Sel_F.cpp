#include "lessons/Kadai_Sel_F.h"

#include <QCloseEvent>

#include "core/DM_1.h"
#include "core/handover.h"
#include "core/lists.h"
#include "ui/guard.h"
#include "ui/platform.h"

using namespace tolvane::ui;

TKadai_SelF* Kadai_SelF = nullptr;

namespace {
const QColor kWindow(192, 248, 201);

QString monthButtonName(int month) {
    return month < 10 ? QStringLiteral("Btn_M0%1").arg(month) : QStringLiteral("Btn_M%1").arg(month);
}

QString quotedItem(const QString& value) { return QStringLiteral("\"") + value + QStringLiteral("\""); }

}  // namespace

TKadai_SelF::TKadai_SelF(Form* owner) : Form(owner, "Kadai_SelF"), IBSQL(DM1->IBDB2, DM1->IBTr2) {
    setCaption(QStringLiteral("釣行時の課題を選択"));
    setFixedClientSize(300, 400);
    setPosition(Position::ScreenCenter);
    setColor(kWindow);
    setFontPx(15);

    Label2 = new Label(this, "Label2", QStringLiteral("課題の検索"), 16, 12);
    Label2->setFontPx(19, true);
    Btn_Close = new Button(this, "Btn_Close", QStringLiteral("閉じる"), 200, 8, 81, 29);

    Chk_Box_Fish = new CheckBox(this, "Chk_Box_Fish", QStringLiteral("魚種で検索します"), 16, 48, 217, 21);
    CBox_Fish = new ComboBox(this, "CBox_Fish", 40, 72, 209, 24);
    CBox_Fish->setDropDownCount(20);
    CBox_Fish->setFontPx(16);
    CBox_Fish->setImeMode(ImeMode::Hiragana);

    Chk_Box_Tuki = new CheckBox(this, "Chk_Box_Tuki", QStringLiteral("釣行月で検索します"), 16, 108, 217, 21);
    static const char* const kMonthCaptions[12] = {"１", "２", "３", "４", "５", "６",
                                                   "７", "８", "９", "10", "11", "12"};
    for (int i = 0; i < 12; ++i) {
        auto* b = new Button(this, monthButtonName(i + 1), QString::fromUtf8(kMonthCaptions[i]),
                             56 + (i % 6) * 34, i < 6 ? 132 : 166, 35, 33);
        b->setFontPx(19, true);
        b->OnClick = [this, b] { Btn_MMM_Click(b); };
        monthButtons[i] = b;
    }

    Chk_Box_Basyo = new CheckBox(this, "Chk_Box_Basyo", QStringLiteral("場所で検索します"), 16, 212, 217, 21);
    CBox_Basyo = new ComboBox(this, "CBox_Basyo", 40, 236, 209, 24);
    CBox_Basyo->setDropDownCount(20);
    CBox_Basyo->setImeMode(ImeMode::Hiragana);

    Btn_Kensaku_Go = new LineBreakButton(this, "Btn_Kensaku_Go", QStringLiteral("検索条件"), 8, 304, 273, 49);
    Btn_Kensaku_Go->setFontPx(15, true);

    Btn_Close->OnClick = [this] { Btn_CloseClick(); };
    Chk_Box_Fish->OnClick = [this] { Chk_Box_FishClick(); };
    Chk_Box_Tuki->OnClick = [this] { Chk_Box_TukiClick(); };
    Chk_Box_Basyo->OnClick = [this] { Chk_Box_BasyoClick(); };
    CBox_Fish->OnChange = [this] { CBox_FishChange(); };
    CBox_Basyo->OnChange = [this] { CBox_BasyoChange(); };
    Btn_Kensaku_Go->OnClick = [this] { Btn_Kensaku_GoClick(); };

    // The layer has no create event: the dialog's own set-up runs here.
    guarded(this, [this] { FormCreate(); });
}

TKadai_SelF::~TKadai_SelF() = default;

void TKadai_SelF::enableMonths(bool on) {
    for (int m = 1; m <= 12; ++m)
        if (auto* b = findControl<Button>(monthButtonName(m))) b->setEnabled(on);
}

void TKadai_SelF::FormCreate() {
    KadaiMask = 0;
    Chk_Box_Fish->setChecked(false);
    Chk_Box_Tuki->setChecked(false);
    Chk_Box_Basyo->setChecked(false);
    CBox_Fish->setEnabled(false);
    enableMonths(false);
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
    IBSQL.sqlAdd("select distinct BASYO from FISH_DATA");
    IBSQL.open();
    IBSQL.first();
    CBox_Basyo->clearItems();
    CBox_Basyo->addItems(firstColumnEntries(IBSQL, kEmptyListPlaceholder));
    CBox_Basyo->setItemIndex(0);
}

void TKadai_SelF::Chk_Box_FishClick() {
    if (Chk_Box_Fish->checked()) {
        CBox_Fish->setEnabled(true);
        KadaiMask += 1;
    } else {
        CBox_Fish->setEnabled(false);
        SearchFish.clear();
        KadaiMask -= 1;
        CBox_Fish->setItemIndex(-1);
    }
    SetKensakuCaption();
}

void TKadai_SelF::Chk_Box_TukiClick() {
    if (Chk_Box_Tuki->checked()) {
        enableMonths(true);
        KadaiMask += 2;
    } else {
        enableMonths(false);
        KadaiMask -= 2;
        SearchMonth.clear();
    }
    SetKensakuCaption();
}

void TKadai_SelF::Chk_Box_BasyoClick() {
    if (Chk_Box_Basyo->checked()) {
        CBox_Basyo->setEnabled(true);
        KadaiMask += 4;
    } else {
        CBox_Basyo->setEnabled(false);
        SearchPlace.clear();
        KadaiMask -= 4;
        CBox_Basyo->setItemIndex(-1);
    }
    SetKensakuCaption();
}

// Runs for a chosen entry and for typed text alike: what the box shows is
// what is searched.
void TKadai_SelF::CBox_FishChange() {
    SearchFish = CBox_Fish->text();
    SetKensakuCaption();
}

void TKadai_SelF::CBox_BasyoChange() {
    SearchPlace = CBox_Basyo->text();
    SetKensakuCaption();
}

void TKadai_SelF::Btn_MMM_Click(Button* sender) {
    const QString name = sender->name();   // Btn_M01 ... Btn_M12
    SearchMonth = QString::number(name.mid(5).toInt());
    SetKensakuCaption();
}

void TKadai_SelF::SetKensakuCaption() {
    if (KadaiMask == 0) {
        Btn_Kensaku_Go->setCaption(QStringLiteral("検索条件"));
        return;
    }
    QStringList items;
    if (KadaiMask & 1) items << quotedItem(SearchFish);
    if (KadaiMask & 2)
        items << quotedItem(SearchMonth.isEmpty() ? QString() : SearchMonth + QStringLiteral(" 月"));
    if (KadaiMask & 4) items << quotedItem(SearchPlace);
    Btn_Kensaku_Go->setCaption(items.join(QLatin1Char(' ')) + QLatin1Char('\r') +
                               QStringLiteral("の条件で検索します"));
}

void TKadai_SelF::Btn_Kensaku_GoClick() {
    bool ok = KadaiMask >= 1 && KadaiMask <= 7;
    if (ok && (KadaiMask & 1) && SearchFish.isEmpty()) ok = false;
    if (ok && (KadaiMask & 2) && SearchMonth.isEmpty()) ok = false;
    if (ok && (KadaiMask & 4) && SearchPlace.isEmpty()) ok = false;
    if (!ok) {
        platform().messageBox(this, QStringLiteral("条件が入っていません"));
        return;
    }
    KadaiMode = 0;
    accepted_ = true;
    close();
}

void TKadai_SelF::Btn_CloseClick() {
    KadaiMode = 3;
    close();
}

void TKadai_SelF::closeEvent(QCloseEvent* e) {
    if (!accepted_) KadaiMode = 3;
    Form::closeEvent(e);
}
