// The lesson search dialog: up to three conditions (fish, month of the trip,
// place), handed to the display window through KadaiMask, SearchFish,
// SearchMonth and SearchPlace. KadaiMode is 0 after an accepted search and 3
// when the dialog was closed without one.
#pragma once

#include <array>

#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"

class TKadai_SelF : public tolvane::ui::Form {
public:
    explicit TKadai_SelF(tolvane::ui::Form* owner);
    ~TKadai_SelF() override;

    tolvane::ui::Label* Label2;
    tolvane::ui::Button* Btn_Close;
    tolvane::ui::CheckBox* Chk_Box_Fish;
    tolvane::ui::ComboBox* CBox_Fish;
    tolvane::ui::CheckBox* Chk_Box_Tuki;
    std::array<tolvane::ui::Button*, 12> monthButtons{};   // Btn_M01 ... Btn_M12
    tolvane::ui::CheckBox* Chk_Box_Basyo;
    tolvane::ui::ComboBox* CBox_Basyo;
    tolvane::ui::Button* Btn_Kensaku_Go;

    tolvane::db::Query IBSQL;

    void FormCreate();
    void Chk_Box_FishClick();
    void Chk_Box_TukiClick();
    void Chk_Box_BasyoClick();
    void CBox_FishChange();
    void CBox_BasyoChange();
    void Btn_MMM_Click(tolvane::ui::Button* sender);
    void Btn_Kensaku_GoClick();
    void Btn_CloseClick();

protected:
    // Closed by the title bar: no search, like Btn_Close.
    void closeEvent(QCloseEvent* e) override;

private:
    void SetKensakuCaption();
    void enableMonths(bool on);
    bool accepted_ = false;
};

extern TKadai_SelF* Kadai_SelF;
