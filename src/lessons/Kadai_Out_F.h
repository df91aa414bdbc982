// The lesson display: the lessons matching the search dialog's conditions,
// one at a time, newest first, with steps back and on. A changed lesson
// text can be stored with "訂　正".
#pragma once

#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"

class TKadai_OutF : public tolvane::ui::Form {
public:
    explicit TKadai_OutF(tolvane::ui::Form* owner);
    ~TKadai_OutF() override;

    tolvane::ui::Label* Label1;
    tolvane::ui::Edit* Edit_Place;
    tolvane::ui::Edit* Edit_Fish;
    tolvane::ui::Edit* Edit_Tuki;
    tolvane::ui::Memo* Memo1;
    tolvane::ui::Button* Btn_In;
    tolvane::ui::Button* Btn_Prior;
    tolvane::ui::Button* Btn_Next;
    tolvane::ui::Button* Btn_Return;

    tolvane::db::Query IBSQL;      // the lessons found
    tolvane::db::Query IBSQL_UP;   // the correction of one lesson's text

    void FormShow();
    void Btn_PriorClick();
    void Btn_NextClick();
    void Btn_ReturnClick();
    void Btn_InClick();
    void Memo1Change();

private:
    void ClearOutForm();
    void KadaiSearch();
    void KadaiShow();
    bool hasRow() const;
};

extern TKadai_OutF* Kadai_OutF;
