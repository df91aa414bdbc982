// The list sheet of the catch browser: the browser's current set (all records
// or the last search result) in a grid over the browser's own cursor. The row
// chosen is handed back in DataBookmark by "戻　る".
#pragma once

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/grids.h"

class TWorkSheetF2 : public tolvane::ui::Form {
public:
    explicit TWorkSheetF2(tolvane::ui::Form* owner);
    ~TWorkSheetF2() override;

    tolvane::ui::Panel* Panel1;
    tolvane::ui::Label* Label1;
    tolvane::ui::Button* Btn_Close;
    tolvane::ui::DBGrid* DBGrid1;

    void FormShow();
    void FormResize();
    void Btn_CloseClick();
};

extern TWorkSheetF2* WorkSheetF2;
