// The analyses menu: totals per year, per month, or the year-by-month table
// of one fish.
#pragma once

#include "ui/controls.h"
#include "ui/form.h"

class TBunsekiF : public tolvane::ui::Form {
public:
    explicit TBunsekiF(tolvane::ui::Form* owner);
    ~TBunsekiF() override;

    tolvane::ui::Label* Label1;
    tolvane::ui::Button* Btn_Nenn;
    tolvane::ui::Button* Btn_Manth;
    tolvane::ui::Button* Btn_N_M;
    tolvane::ui::Button* BtnClose;

    void Btn_NennClick();
    void Btn_ManthClick();
    void Btn_N_MClick();
    void BtnCloseClick();
};

extern TBunsekiF* BunsekiF;
