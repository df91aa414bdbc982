// The enlarged map: shows the map of the memo viewer ("ShowF") or of the
// catch browser large; any click on the picture or around it closes it.
#pragma once

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/scrollbox.h"

class TMapF : public tolvane::ui::Form {
public:
    explicit TMapF(tolvane::ui::Form* owner);

    tolvane::ui::Panel* Panel1;
    tolvane::ui::Label* Label1;
    tolvane::ui::Button* Button1;
    tolvane::ui::ScrollBox* ScrollBox1;
    tolvane::ui::Image* Image_MM;

    void FormShow();
    void Button1Click() { close(); }
    void Image_MMClick() { close(); }
    void ScrollBox1Click() { close(); }
};

extern TMapF* MapF;
