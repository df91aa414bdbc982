// The nine memo photos: F_PHOTO1 ... F_PHOTO9 of the memo shown in the memo
// viewer ("ShowF"). A double click on one opens the single-photo window for
// that column, and the photos are read again when it closes.
#pragma once

#include <array>

#include "core/DM_1.h"
#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/image.h"

class TPhoto_9F : public tolvane::ui::Form {
public:
    explicit TPhoto_9F(tolvane::ui::Form* owner);

    tolvane::ui::Panel* Panel1;
    tolvane::ui::Label* Label1;
    tolvane::ui::Label* Label_Photo;
    tolvane::ui::Label* Label_Photo2;
    tolvane::ui::Label* Label_No;
    tolvane::ui::Button* Button1;
    // "PHOTO1" ... "PHOTO9", under the pictures.
    std::array<tolvane::ui::Label*, 9> PhotoLabels;
    tolvane::ui::Image* F_PHOTO1;
    tolvane::ui::Image* F_PHOTO2;
    tolvane::ui::Image* F_PHOTO3;
    tolvane::ui::Image* F_PHOTO4;
    tolvane::ui::Image* F_PHOTO5;
    tolvane::ui::Image* F_PHOTO6;
    tolvane::ui::Image* F_PHOTO7;
    tolvane::ui::Image* F_PHOTO8;
    tolvane::ui::Image* F_PHOTO9;

    tolvane::db::Query IBSQL_out{DM1->IBDB1, DM1->IBTr1};

    void FormShow();
    void LoadMemoPhotos();
    // Bound to the double click of all nine pictures.
    void F_PHOTO1DblClick(tolvane::ui::Image* sender);
    void Button1Click() { close(); }

    std::array<tolvane::ui::Image*, 9> photos() const;
};

extern TPhoto_9F* Photo_9F;
