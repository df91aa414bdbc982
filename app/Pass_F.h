// The settings dialog: the tide-chart style and the wording of the boat or
// point field, kept in row 0 of FISH_PASS. Each change button stores its
// setting at once and updates the shared variable, so windows opened
// afterwards follow it.
#pragma once

#include <memory>

#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"

class TPassF : public tolvane::ui::Form {
public:
    explicit TPassF(tolvane::ui::Form* owner);
    ~TPassF() override;

    tolvane::ui::Panel* Panel3;
    tolvane::ui::Label* Label1;
    tolvane::ui::Button* Btn_NO;
    tolvane::ui::Panel* Panel1;
    tolvane::ui::Label* Label11;
    tolvane::ui::Label* Label_Shio;
    tolvane::ui::RadioGroup* RadioGroup1;
    tolvane::ui::Button* Btn_Shio;
    tolvane::ui::Panel* Panel2;
    tolvane::ui::Label* Label33;
    tolvane::ui::Label* Label_Fune;
    tolvane::ui::RadioGroup* RadioGroup2;
    tolvane::ui::Button* Btn_Fune;

    std::unique_ptr<tolvane::db::Query> IBSQL;

    void FormShow();
    void Btn_ShioClick();
    void Btn_FuneClick();
    void RadioGroup1Click();
    void RadioGroup2Click();
    void Btn_NOClick();

private:
    // Runs the update on IBSQL and commits; false (rolled back) when it
    // failed or found no row to change.
    bool storeSetting();
};

extern TPassF* PassF;
