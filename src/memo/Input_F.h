// The memo entry window: one new memo of the memo notebook (species, genre,
// method, place, months, text, map, rig or tide picture and four photos) is
// typed and saved as a new FISH_MEMO row by "登　　録". After each stored
// memo the window clears itself for the next one.
#pragma once

#include <array>

#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/image.h"

class TInputF : public tolvane::ui::Form {
public:
    explicit TInputF(tolvane::ui::Form* owner);

    tolvane::ui::Label* Label_Fish;
    tolvane::ui::Label* Label_NO;
    tolvane::ui::ComboBox* CBox_F1;
    tolvane::ui::ComboBox* CBox_F2;
    tolvane::ui::ComboBox* CBox_F3;
    tolvane::ui::Label* Label_Janru;
    tolvane::ui::ComboBox* CBox1;
    tolvane::ui::Label* Label_Turi;
    tolvane::ui::ComboBox* CBox_Turi;
    tolvane::ui::Label* Label_Basyo;
    tolvane::ui::ComboBox* CBox_Basyo;

    tolvane::ui::Panel* Panel_Month;   // the caption "対象　月"
    // Panel_1 ... Panel_12; a month is chosen when its panel's font is 12.
    std::array<tolvane::ui::Panel*, 12> Panels;
    tolvane::ui::Panel *Panel_1, *Panel_2, *Panel_3, *Panel_4, *Panel_5, *Panel_6, *Panel_7,
        *Panel_8, *Panel_9, *Panel_10, *Panel_11, *Panel_12;
    tolvane::ui::Label* Label_MonthHint;

    tolvane::ui::Memo* Memo1;

    tolvane::ui::Label* Label_Map;
    tolvane::ui::Image* Image_M;
    tolvane::ui::Button* Btn_Chizu_In_Crip;
    tolvane::ui::Label* Label_Shio;
    tolvane::ui::Image* Image_S;
    tolvane::ui::Button* Btn_Shio_In_Crip;

    tolvane::ui::Label *Label_P1, *Label_P2, *Label_P3, *Label_P4;
    tolvane::ui::Image *Image_P1, *Image_P2, *Image_P3, *Image_P4;
    tolvane::ui::Panel* Panel_Photo;
    tolvane::ui::Button *Btn_In1, *Btn_In2, *Btn_In3, *Btn_In4;

    tolvane::ui::Button* Btn_Return;
    tolvane::ui::Button* Btn_OK2;
    tolvane::ui::Button* Btn_NO2;

    // Every query of the window, on the memo database.
    tolvane::db::Query IBSQL_In;

    void FormShow();
    void Btn_ReturnClick();
    void Btn_CanselClick();
    void Btn_OKClick();
    void Panel_00Click(tolvane::ui::Panel* sender);
    void Btn_Chizu_In_CripClick();
    void Btn_Shio_In_CripClick();
    void Btn_In1Click(tolvane::ui::Button* sender);
    void Image_MClick();
    void Image_SClick();
    void Image_PHOTO_Click(tolvane::ui::Image* sender);
    void Image_MMouseDown(tolvane::ui::MouseButton button);
    void Image_SMouseDown(tolvane::ui::MouseButton button);
    void Image_P1MouseDown(tolvane::ui::Image* sender, tolvane::ui::MouseButton button);

    // True when the month panel is chosen (font size 12).
    static bool monthChosen(const tolvane::ui::Panel* panel);

private:
    void ResetMemoForm();
    void FillSpeciesLists();
    void ShowNextMemoCode();
    void loadInto(tolvane::ui::Image* img);
    void eraseOn(tolvane::ui::Image* img, tolvane::ui::MouseButton button);
};

extern TInputF* InputF;
