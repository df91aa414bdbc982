#include "totals/Fish_Total_N_M.h"

#include <QDate>
#include <QPainter>

#include "core/handover.h"
#include "totals/figures.h"
#include "ui/fonts.h"
#include "ui/guard.h"

using namespace tolvane::ui;

TFishTotal_NM* FishTotal_NM = nullptr;

TFishTotal_NM::TFishTotal_NM(Form* owner) : Form(owner, "FishTotal_NM") {
    setCaption(QStringLiteral("年度別月別釣果"));
    setFixedClientSize(900, 480);
    setPosition(Position::OwnerCenter);
    setColor(QColor(192, 248, 201));
    setFontPx(16);

    Label2 = new Label(this, "Label2", QStringLiteral("過去　１０年間の月別　釣果と釣行回数"), 32, 16);
    Label2->setFontPx(19, true);
    Label2->setFontColor(QColor(0, 0, 128));
    Label_FName = new Label(this, "Label_FName", QString(), 32, 45);
    Label_FName->setFontPx(16, true);
    Str_Grid1 = new StringGrid(this, "Str_Grid1", 16, 72, 854, 328);
    Str_Grid1->setFontPx(19);
    Str_Grid1->setColCount(11);
    Str_Grid1->setRowCount(13);
    Str_Grid1->setDefaultColWidth(80);
    Str_Grid1->setColWidth(0, 40);
    Str_Grid1->setFixedRows(1);
    Str_Grid1->setFixedCols(0);
    Label1 = new Label(this, "Label1", QStringLiteral("匹数　/　釣行回数"), 728, 416);
    Label1->setFontPx(16, true);
    Btn_Close = new Button(this, "Btn_Close", QStringLiteral("戻　る"), 736, 16, 129, 33);
    Btn_Close->setFontPx(19, true);

    Str_Grid1->OnDrawCell = [this](DrawCellArgs& a) { Str_Grid1DrawCell(a); };
    Btn_Close->OnClick = [this] { Btn_CloseClick(); };
    guarded(this, [this] { FormCreate(); });
}

TFishTotal_NM::~TFishTotal_NM() = default;

void TFishTotal_NM::FormCreate() {
    // The year of the newest date of the stored form; without one, this year.
    const int y = totals::dateYear(IBSQL_Nenn, "max").value_or(QDate::currentDate().year());
    for (int c = 1; c <= 10; ++c) Str_Grid1->setCell(c, 0, QString::number(y - (c - 1)));
    for (int r = 1; r <= 12; ++r) Str_Grid1->setCell(0, r, QString::number(r));
    Label_FName->setCaption(QStringLiteral("魚種　：　") + TotalFish);
    ShowNennTuki();
}

std::int64_t TFishTotal_NM::SumNennTuki(const QString& f, const QString& yearMonth) {
    return totals::slotFigure(IBSQL_Kazu, "sum", "parTuki_Do", yearMonth + "___", f);
}

std::int64_t TFishTotal_NM::CountNennTuki(const QString& f, const QString& yearMonth) {
    return totals::slotFigure(IBSQL_Kazu, "count", "parTuki_Do", yearMonth + "___", f);
}

// One grouped statement for the whole table; it gives the per-cell
// statements' figures for every four-digit year (other years cell by cell).
void TFishTotal_NM::ShowNennTuki() {
    const auto byMonth = totals::groupedFigures(IBSQL_Kazu, TotalFish, 1, 7);
    for (int c = 1; c <= 10; ++c) {
        const QString year = Str_Grid1->cell(c, 0);
        for (int r = 1; r <= 12; ++r) {
            const QString ym = year + "/" + QStringLiteral("%1").arg(r, 2, 10, QLatin1Char('0'));
            totals::Figures fig;
            if (year.size() == 4) {
                const auto it = byMonth.find(ym.toStdString());
                if (it != byMonth.end()) fig = it->second;
            } else {
                fig.total = SumNennTuki(TotalFish, ym);
                if (fig.total != 0) fig.trips = CountNennTuki(TotalFish, ym);
            }
            Str_Grid1->setCell(c, r, fig.total != 0 ? QString::number(fig.total) + " / " +
                                                          QString::number(fig.trips)
                                                    : QString());
        }
    }
}

void TFishTotal_NM::Str_Grid1DrawCell(DrawCellArgs& a) {
    QPainter& p = a.canvas;
    p.fillRect(a.rect, a.brush);
    if (a.row == 0) {
        p.setPen(Qt::black);
        p.setFont(windowFont(19, true));
    } else {
        p.fillRect(a.rect, Str_Grid1->palette().base());
        p.setPen(Qt::black);
        p.setFont(windowFont(21, false));
    }
    totals::drawCentred(a, Str_Grid1->cell(a.col, a.row));
}

void TFishTotal_NM::Btn_CloseClick() { close(); }
