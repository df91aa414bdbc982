// The four catch photos: PHOTO1 ... PHOTO4 of the record shown in the catch
// browser ("FishdataF"). A double click enlarges a photo over the others and
// back; the buttons "1" ... "4" open the single-photo window for that photo.
#pragma once

#include <array>

#include "core/DM_1.h"
#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/image.h"

class TPhoto_BigF : public tolvane::ui::Form {
public:
    explicit TPhoto_BigF(tolvane::ui::Form* owner);

    tolvane::ui::Panel* Panel_AA;
    tolvane::ui::Panel* Panel_BB;
    tolvane::ui::Panel* Panel_CC;
    tolvane::ui::Panel* Panel_DD;
    tolvane::ui::Image* Image_AA;
    tolvane::ui::Image* Image_BB;
    tolvane::ui::Image* Image_CC;
    tolvane::ui::Image* Image_DD;
    tolvane::ui::Button* Button1;
    tolvane::ui::Label* Label3;
    tolvane::ui::Label* Label_Code;
    tolvane::ui::Panel* GroupBox1;
    tolvane::ui::Label* Label_Group;
    tolvane::ui::Button* Btn_No1;
    tolvane::ui::Button* Btn_No2;
    tolvane::ui::Button* Btn_No3;
    tolvane::ui::Button* Btn_No4;

    tolvane::db::Query IBSQL_Photo{DM1->IBDB2, DM1->IBTr2};

    void FormShow();
    void LoadRecordPhotos();
    void Image_AADblClick();
    void Image_BBDblClick();
    void Image_CCDblClick();
    void Image_DDDblClick();
    // Bound to the four number buttons.
    void Btn_NoClick(tolvane::ui::Button* sender);
    void Button1Click() { close(); }

private:
    void ReadPhotos();
    // Enlarges photo `i` (0..3) or puts it back home with the others.
    void Zoom(int i);
    // Panel `i` back at its home position and size, all four shown.
    void PutHome(int i);
    // An enlarged photo that is gone after a reload leaves nothing to
    // double-click back: its panel goes home and the others show again.
    void LeaveEmptyZoom();
    std::array<tolvane::ui::Panel*, 4> panels() const { return {Panel_AA, Panel_BB, Panel_CC, Panel_DD}; }
    std::array<tolvane::ui::Image*, 4> images() const { return {Image_AA, Image_BB, Image_CC, Image_DD}; }
};

extern TPhoto_BigF* Photo_BigF;
