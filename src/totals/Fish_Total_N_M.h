// The year-by-month table of the fish in TotalFish: ten years from the year
// of the newest record back, newest on the left, twelve months down; each
// cell the number caught and the trips ("12 / 3"). Computed once, at creation.
#pragma once

#include <QString>
#include <cstdint>

#include "core/DM_1.h"
#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/grids.h"

class TFishTotal_NM : public tolvane::ui::Form {
public:
    explicit TFishTotal_NM(tolvane::ui::Form* owner);
    ~TFishTotal_NM() override;

    tolvane::ui::Label* Label2;
    tolvane::ui::Label* Label_FName;
    tolvane::ui::StringGrid* Str_Grid1;
    tolvane::ui::Label* Label1;
    tolvane::ui::Button* Btn_Close;

    tolvane::db::Query IBSQL_Nenn{DM1->IBDB2, DM1->IBTr2};
    tolvane::db::Query IBSQL_Kazu{DM1->IBDB2, DM1->IBTr2};

    void FormCreate();
    void Str_Grid1DrawCell(tolvane::ui::DrawCellArgs& a);
    void Btn_CloseClick();

    // Figures of fish `f` for a year-and-month text "yyyy/mm".
    std::int64_t SumNennTuki(const QString& f, const QString& yearMonth);
    std::int64_t CountNennTuki(const QString& f, const QString& yearMonth);
    void ShowNennTuki();
};

extern TFishTotal_NM* FishTotal_NM;
