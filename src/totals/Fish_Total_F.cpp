#include "totals/Fish_Total_F.h"

#include <QDate>
#include <QPainter>
#include <algorithm>

#include "core/handover.h"
#include "core/lists.h"
#include "totals/figures.h"
#include "ui/fonts.h"
#include "ui/guard.h"

using namespace tolvane::ui;

TFishTotal* FishTotal = nullptr;

TFishTotal::TFishTotal(Form* owner) : Form(owner, "FishTotal") {
    setFixedClientSize(560, 420);
    setPosition(Position::OwnerCenter);
    setColor(QColor(192, 248, 201));
    setFontPx(16);

    Label2 = new Label(this, "Label2", QString(), 8, 8);
    Label1 = new Label(this, "Label1", QString(), 98, 8);
    Label3 = new Label(this, "Label3", QString(), 8, 32);
    Label_FName = new Label(this, "Label_FName", QStringLiteral("魚種の選択"), 40, 53);
    for (Label* l : {Label2, Label1, Label3, Label_FName}) l->setFontPx(16, true);
    ListBox1 = new ListBox(this, "ListBox1", 8, 72, 169, 305);
    ListBox1->setFontPx(17);
    ListBox1->setItemHeight(18);
    Str_Grid1 = new StringGrid(this, "Str_Grid1", 186, 48, 351, 329);
    Str_Grid1->setColCount(4);
    Str_Grid1->setDefaultColWidth(80);
    Str_Grid1->setFixedRows(1);
    Str_Grid1->setFixedCols(0);
    Btn_Close = new Button(this, "Btn_Close", QStringLiteral("戻　る"), 408, 8, 129, 33);
    Btn_Close->setFontPx(19, true);

    // A fish chosen by a click or by the arrow keys.
    ListBox1->OnClick = [this] { ListBox1Click(); };
    Str_Grid1->OnDrawCell = [this](DrawCellArgs& a) { Str_Grid1DrawCell(a); };
    Btn_Close->OnClick = [this] { Btn_CloseClick(); };
    guarded(this, [this] { FormCreate(); });
}

TFishTotal::~TFishTotal() = default;

void TFishTotal::FormCreate() {
    // No placeholder here: a NULL name is an empty entry.
    ListBox1->clearItems();
    for (const QString& name : FishNameList(IBSQL_Fish, "FISH_DATA")) ListBox1->addItem(name);

    // Only dates of the stored form give a year; without one, the current
    // year alone.
    lastYear_ = QDate::currentDate().year();
    firstYear_ = totals::dateYear(IBSQL_Nenn, "min").value_or(lastYear_);
    years_ = lastYear_ - firstYear_ + 1;

    Label1->setCaption(QString::number(firstYear_) + QStringLiteral("年まで"));
    Label2->setCaption(QString::number(lastYear_) + QStringLiteral("年から"));
    Label3->setCaption(QString::number(years_) + QStringLiteral("  年間"));

    if (TotalMode != 0) {
        Str_Grid1->setRowCount(13);
        for (int r = 1; r <= 12; ++r) Str_Grid1->setCell(0, r, QString::number(r));
        Str_Grid1->setCell(0, 0, QStringLiteral("月"));
        setCaption(QStringLiteral("月別の累計"));
    } else {
        SetNennRows();
        Str_Grid1->setCell(0, 0, QStringLiteral("年　度"));
        setCaption(QStringLiteral("年度ごとの累計"));
    }
    Str_Grid1->setCell(1, 0, QStringLiteral("匹　数"));
    Str_Grid1->setCell(2, 0, QStringLiteral("釣行回数"));
    Str_Grid1->setCell(3, 0, QStringLiteral("平均釣果"));
}

void TFishTotal::SetNennRows() {
    nennRows_ = std::max(0, years_);
    Str_Grid1->setRowCount(nennRows_ + 1);
    // Bottom row the first year, row 1 the last.
    for (int i = 0; i < nennRows_; ++i) Str_Grid1->setCell(0, nennRows_ - i, QString::number(firstYear_ + i));
}

void TFishTotal::ListBox1Click() {
    const int i = ListBox1->itemIndex();
    if (i < 0) return;
    const QString f = ListBox1->itemText(i);
    if (TotalMode != 0) ShowTuki(f);
    else ShowNenn(f);
}

std::int64_t TFishTotal::SumNenn(const QString& f, int y) {
    return totals::slotFigure(IBSQL_Kazu, "sum", "parNenn_Do", QString::number(y) + "______", f);
}

std::int64_t TFishTotal::CountNenn(const QString& f, int y) {
    return totals::slotFigure(IBSQL_Kazu, "count", "parNenn_Do", QString::number(y) + "______", f);
}

std::int64_t TFishTotal::SumTuki(const QString& f, const QString& m) {
    return totals::slotFigure(IBSQL_Kazu, "sum", "parTuki_Do", "_____" + m + "___", f);
}

std::int64_t TFishTotal::CountTuki(const QString& f, const QString& m) {
    return totals::slotFigure(IBSQL_Kazu, "count", "parTuki_Do", "_____" + m + "___", f);
}

void TFishTotal::showFigures(int row, std::int64_t total, std::int64_t trips) {
    if (total != 0) {
        Str_Grid1->setCell(1, row, QString::number(total));
        Str_Grid1->setCell(2, row, QString::number(trips) + QStringLiteral(" 回"));
        Str_Grid1->setCell(3, row, totals::averageText(total, trips));
    } else {
        for (int c = 1; c <= 3; ++c) Str_Grid1->setCell(c, row, QString());
    }
}

// Both tables come from one grouped statement per click; it gives the
// figures of the per-row statements for every four-digit year (other years
// are read row by row).
void TFishTotal::ShowNenn(const QString& f) {
    const auto byYear = totals::groupedFigures(IBSQL_Kazu, f, 1, 4);
    for (int r = 1; r <= nennRows_; ++r) {
        const QString y = Str_Grid1->cell(0, r);
        totals::Figures fig;
        if (y.size() == 4) {
            const auto it = byYear.find(y.toStdString());
            if (it != byYear.end()) fig = it->second;
        } else {
            fig.total = SumNenn(f, y.toInt());
            if (fig.total != 0) fig.trips = CountNenn(f, y.toInt());
        }
        showFigures(r, fig.total, fig.trips);
    }
}

void TFishTotal::ShowTuki(const QString& f) {
    const auto byMonth = totals::groupedFigures(IBSQL_Kazu, f, 6, 2);
    for (int r = 1; r <= 12; ++r) {
        const QString m = QStringLiteral("%1").arg(r, 2, 10, QLatin1Char('0'));
        const auto it = byMonth.find(m.toStdString());
        const totals::Figures fig = it != byMonth.end() ? it->second : totals::Figures{};
        showFigures(r, fig.total, fig.trips);
    }
}

void TFishTotal::Str_Grid1DrawCell(DrawCellArgs& a) {
    QPainter& p = a.canvas;
    p.fillRect(a.rect, a.brush);
    if (a.row == 0) {
        // 12 and 11 points.
        p.setPen(Qt::black);
        p.setFont(windowFont(a.col <= 1 ? 16 : 15, true));
    } else {
        // No highlight: the window colour again; 16 points.
        p.fillRect(a.rect, Str_Grid1->palette().base());
        p.setPen(Qt::black);
        p.setFont(windowFont(21, false));
    }
    totals::drawCentred(a, Str_Grid1->cell(a.col, a.row));
}

void TFishTotal::Btn_CloseClick() { close(); }
