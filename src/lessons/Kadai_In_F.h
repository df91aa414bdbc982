// The lesson entry window: one lesson for the next trip, written for the
// catch record the opener shows. The opener hands over the record through
// KadaiMode, KadaiPlace, KadaiFish, KadaiMonth and KadaiPapaNo; the window
// stores the lesson as a new row of FISH_KADAI in the memo database.
#pragma once

#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"

class TKadai_InF : public tolvane::ui::Form {
public:
    explicit TKadai_InF(tolvane::ui::Form* owner);
    ~TKadai_InF() override;

    tolvane::ui::Label* Label1;
    tolvane::ui::Label* Label_No;
    tolvane::ui::Edit* Edit_Place;
    tolvane::ui::Edit* Edit_Fish;
    tolvane::ui::Edit* Edit_Tuki;
    tolvane::ui::Memo* Memo1;
    tolvane::ui::Button* Btn_In;
    tolvane::ui::Button* Btn_Return;

    tolvane::db::Query IBSQL;

    void FormShow();
    void Btn_InClick();
    void Btn_ReturnClick();

    // The number the lesson is stored under; 0 while it is unknown.
    int newNumber() const { return newNo_; }

private:
    void InitKadaiForm();
    void KadaiInsert();
    int newNo_ = 0;
};

extern TKadai_InF* Kadai_InF;
