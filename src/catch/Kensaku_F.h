// The catch search dialog: the user ticks fish, month of the trip and place,
// gives their values and leaves by the Go button; the conditions go back to
// the browser in SearchMask, SearchFish, SearchMonth and SearchPlace.
// "閉じる" and the title-bar close box leave SearchMask 0 (no search).
#pragma once

#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"

class TKensakuF : public tolvane::ui::Form {
public:
    explicit TKensakuF(tolvane::ui::Form* owner);
    ~TKensakuF() override;

    tolvane::ui::Label* Label2;
    tolvane::ui::Button* Btn_Close;
    tolvane::ui::CheckBox* C_Box_Fish;
    tolvane::ui::ComboBox* CBox_Fish;
    tolvane::ui::CheckBox* C_Box_Tuki;
    tolvane::ui::Button* Btn_M01;
    tolvane::ui::Button* Btn_M02;
    tolvane::ui::Button* Btn_M03;
    tolvane::ui::Button* Btn_M04;
    tolvane::ui::Button* Btn_M05;
    tolvane::ui::Button* Btn_M06;
    tolvane::ui::Button* Btn_M07;
    tolvane::ui::Button* Btn_M08;
    tolvane::ui::Button* Btn_M09;
    tolvane::ui::Button* Btn_M10;
    tolvane::ui::Button* Btn_M11;
    tolvane::ui::Button* Btn_M12;
    tolvane::ui::CheckBox* C_Box_Basyo;
    tolvane::ui::ComboBox* CBox_Basyo;
    tolvane::ui::Button* Btn_Kensaku_Go;

    tolvane::db::Query IBSQL;

    void FormCreate();
    void FormShow();
    void C_Box_FishClick();
    void C_Box_TukiClick();
    void C_Box_BasyoClick();
    void CBox_FishChange();
    void CBox_BasyoChange();
    void Btn_MMM_Click(tolvane::ui::Button* sender);
    void Btn_Kensaku_GoClick();
    void Btn_CloseClick();

protected:
    // Closed by the title bar: no search, as "閉じる".
    void closeEvent(QCloseEvent* e) override;

private:
    void SetKensakuCaption();
    tolvane::ui::Button* monthButton(int month) const;
    bool accepted_ = false;
};

extern TKensakuF* KensakuF;
