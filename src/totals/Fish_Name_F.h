// The fish picker of the year-by-month table: a click on a name hands it over
// in TotalFish; cancel, or closing the window any other way, sets TotalMode
// to 4 so that no table opens.
#pragma once

#include "core/DM_1.h"
#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"

class TFishNameF : public tolvane::ui::Form {
public:
    explicit TFishNameF(tolvane::ui::Form* owner);
    ~TFishNameF() override;

    tolvane::ui::Label* Label1;
    tolvane::ui::ListBox* ListBox1;
    tolvane::ui::Button* Btn_Close;

    tolvane::db::Query IBSQL_Fish{DM1->IBDB2, DM1->IBTr2};

    void FormCreate();
    void ListBox1Click();
    void Btn_CloseClick();

private:
    bool picked_ = false;
};

extern TFishNameF* FishNameF;
