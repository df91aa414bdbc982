// The viewer of the band-and-circle tide chart: the browser's record with its
// three bands and three circles placed over the scaled chart, or (opened from
// the memo viewer "ShowF") a copy of the memo's picture without markers.
#pragma once

#include <array>

#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/image.h"

class TShio_NewF : public tolvane::ui::Form {
public:
    explicit TShio_NewF(tolvane::ui::Form* owner);
    ~TShio_NewF() override;

    tolvane::ui::Panel* Panel1;
    tolvane::ui::Label* Label1;
    tolvane::ui::Button* Button1;
    tolvane::ui::Image* Image_SS;
    tolvane::ui::Shape* Shape1;
    tolvane::ui::Shape* Shape2;
    tolvane::ui::Shape* Shape3;
    tolvane::ui::Shape* Shape4;
    tolvane::ui::Shape* Shape5;
    tolvane::ui::Shape* Shape6;

    tolvane::db::Query IBSQL;

    void FormShow();
    void FormResize();
    void Button1Click() { close(); }

private:
    // Puts the markers over the chart as it is drawn now.
    void placeMarkers();
    tolvane::ui::Shape* marker(int n) const;
    bool haveMarks_ = false;
    std::array<int, 12> marks_{};
};

extern TShio_NewF* Shio_NewF;
