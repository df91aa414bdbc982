// The viewer of the rectangle-style tide chart: the browser's record with its
// two rectangles drawn over the chart at its natural size. Read-only.
#pragma once

#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/image.h"

class TShioOnlyF : public tolvane::ui::Form {
public:
    explicit TShioOnlyF(tolvane::ui::Form* owner);
    ~TShioOnlyF() override;

    tolvane::ui::Panel* Panel1;
    tolvane::ui::Label* Label1;
    tolvane::ui::Button* Button1;
    tolvane::ui::Image* Image_SS;
    tolvane::ui::Shape* Shape1;
    tolvane::ui::Shape* Shape2;

    tolvane::db::Query IBSQL_2;

    void FormShow();
    void Button1Click() { close(); }

private:
    void LoadPicture();
    void placeholder(tolvane::ui::Shape* s);
};

extern TShioOnlyF* ShioOnlyF;
