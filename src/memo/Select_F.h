// The memo selection dialog: species, genre and months, any combination,
// turned into the whole select statement the viewer runs (MemoSearchSql).
#pragma once

#include <array>

#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"

class TSelectF : public tolvane::ui::Form {
public:
    explicit TSelectF(tolvane::ui::Form* owner);

    tolvane::ui::Label* Label_X001;
    tolvane::ui::Label* Label_Fish;
    tolvane::ui::ComboBox* CBox1;
    tolvane::ui::CheckBox* CheckBox1;
    tolvane::ui::Label* Label_Janru;
    tolvane::ui::ComboBox* CBox2;
    tolvane::ui::CheckBox* CheckBox2;
    tolvane::ui::Label* Label_Month;
    tolvane::ui::CheckBox* CheckBox3;
    // SBtn010 ... SBtn120: raised (up) = a chosen month.
    std::array<tolvane::ui::FlatButton*, 12> SBtns;
    tolvane::ui::FlatButton *SBtn010, *SBtn020, *SBtn030, *SBtn040, *SBtn050, *SBtn060, *SBtn070,
        *SBtn080, *SBtn090, *SBtn100, *SBtn110, *SBtn120;
    tolvane::ui::Button* Btn_GO;
    tolvane::ui::Button* Btn_Cancel;

    tolvane::db::Query IBSQL_Out;

    void FormShow();
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox3Click();
    void SBtn000Click(tolvane::ui::FlatButton* sender);
    void Btn_GOClick();
    void Btn_CancelClick();

private:
    void InitCriteria();
    void monthsOff(bool enabled);
};

extern TSelectF* SelectF;
