// The memo map and tide window: replaces the map (F_MAP) or the rig or tide
// picture (F_SHIO) of the memo shown in the memo viewer ("ShowF"); the
// viewer's map button having the focus chooses the map.
#pragma once

#include "core/DM_1.h"
#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/image.h"

class TMap_ShioF : public tolvane::ui::Form {
public:
    explicit TMap_ShioF(tolvane::ui::Form* owner);

    tolvane::ui::Bevel* Bevel1;
    tolvane::ui::Image* Image1;
    tolvane::ui::Label* Label_CODE;
    tolvane::ui::Label* Label_X;
    tolvane::ui::Label* X_Label3;
    tolvane::ui::Bevel* Bevel2;
    tolvane::ui::Label* X_Label9;
    tolvane::ui::Label* X_Label7;
    tolvane::ui::Label* X_Label5;
    tolvane::ui::Label* X_Label4;
    tolvane::ui::Label* X_Label8;
    tolvane::ui::Label* X_Label6;
    tolvane::ui::Label* X_Label1;
    tolvane::ui::Label* X_Label2;
    tolvane::ui::Button* Btn_In;
    tolvane::ui::Label* Label_JorB;
    tolvane::ui::Label* Label_XY;
    tolvane::ui::Button* Btn_Clear;
    tolvane::ui::Button* Btn_Ok;
    tolvane::ui::Button* Btn_No;

    tolvane::db::Query IBSQL{DM1->IBDB1, DM1->IBTr1};

    void FormShow();
    void Btn_InClick();
    void Btn_ClearClick();
    void Btn_OkClick();
    void Btn_NoClick() { close(); }
};

extern TMap_ShioF* Map_ShioF;
