// The memo list sheet: the viewer's current set of memos as a table on the
// viewer's own cursor; the row picked goes back as MemoBookmark.
#pragma once

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/grids.h"

class TWorkSheetF : public tolvane::ui::Form {
public:
    explicit TWorkSheetF(tolvane::ui::Form* owner);

    tolvane::ui::Panel* Panel1;
    tolvane::ui::Label* Label1;
    tolvane::ui::Button* Button1;
    tolvane::ui::DBGrid* DBGrid1;

    void FormShow();
    void Button1Click();
};

extern TWorkSheetF* WorkSheetF;
