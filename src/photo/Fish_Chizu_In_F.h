// The map editor: sets or replaces the map or rig drawing of a catch record.
// Opened by the catch browser ("FishdataF") it updates CHIZU of the record
// whose number it shows; opened by the catch entry window it hands its
// picture, encoded as JPEG, to that window's Image_Map.
#pragma once

#include "core/DM_1.h"
#include "db/fb.h"
#include "photo/photo_common.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/image.h"

class TFish_Chizu_InF : public tolvane::ui::Form {
public:
    explicit TFish_Chizu_InF(tolvane::ui::Form* owner);

    tolvane::ui::Image* Image_M;
    tolvane::ui::Edit* Edit_CODE;
    tolvane::ui::LineBreakLabel* Label_XY;
    tolvane::ui::Label* Label3;
    tolvane::ui::Button* Btn_In;
    tolvane::ui::Button* Btn_File;
    tolvane::ui::Button* Btn_OK;
    tolvane::ui::Button* Btn_Clear;
    tolvane::ui::Button* Btn_Return;

    tolvane::db::Query IBSQL_UP{DM1->IBDB2, DM1->IBTr2};

    void FormShow();
    void Btn_InClick();
    void Btn_FileClick();
    void Btn_ClearClick();
    void Btn_OKClick();
    void Btn_ReturnClick() { close(); }
};

extern TFish_Chizu_InF* Fish_Chizu_InF;
