// Totals of one fish per year (newest first, up to the current year) or per
// calendar month over all years: the number caught, the trips and the
// average per trip. Everything is set up when the window is created; a click
// on a fish fills the table.
#pragma once

#include <QString>
#include <cstdint>

#include "core/DM_1.h"
#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/grids.h"

class TFishTotal : public tolvane::ui::Form {
public:
    explicit TFishTotal(tolvane::ui::Form* owner);
    ~TFishTotal() override;

    tolvane::ui::Label* Label2;
    tolvane::ui::Label* Label1;
    tolvane::ui::Label* Label3;
    tolvane::ui::Label* Label_FName;
    tolvane::ui::ListBox* ListBox1;
    tolvane::ui::StringGrid* Str_Grid1;
    tolvane::ui::Button* Btn_Close;

    tolvane::db::Query IBSQL_Fish{DM1->IBDB2, DM1->IBTr2};
    tolvane::db::Query IBSQL_Nenn{DM1->IBDB2, DM1->IBTr2};
    tolvane::db::Query IBSQL_Kazu{DM1->IBDB2, DM1->IBTr2};

    void FormCreate();
    void ListBox1Click();
    void Str_Grid1DrawCell(tolvane::ui::DrawCellArgs& a);
    void Btn_CloseClick();

    void SetNennRows();
    // Figures of fish `f` for year `y` (pattern: the year and six "_") and
    // for a two-digit month `m` (pattern: five "_", the month, three "_").
    std::int64_t SumNenn(const QString& f, int y);
    std::int64_t CountNenn(const QString& f, int y);
    std::int64_t SumTuki(const QString& f, const QString& m);
    std::int64_t CountTuki(const QString& f, const QString& m);
    void ShowNenn(const QString& f);
    void ShowTuki(const QString& f);

    int firstYear() const { return firstYear_; }
    int lastYear() const { return lastYear_; }
    int years() const { return years_; }
    int nennRows() const { return nennRows_; }

private:
    // One row's three figure cells: empty when the total is 0.
    void showFigures(int row, std::int64_t total, std::int64_t trips);

    int firstYear_ = 0;
    int lastYear_ = 0;
    int years_ = 0;
    int nennRows_ = 0;
};

extern TFishTotal* FishTotal;
