// The maintenance window: deletes a catch record or a memo by its number,
// appends a memo genre, and creates the lessons table when it is missing.
#pragma once

#include <QString>
#include <optional>

#include "core/DM_1.h"
#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/grids.h"

// A number box's text read as a decimal integer: ASCII digits with an
// optional sign and blanks around; nothing for anything else (full-width
// digits, letters, hexadecimal forms, values beyond 32 bits).
std::optional<int> readDecimalNumber(const QString& text);

class TMenteF : public tolvane::ui::Form {
public:
    explicit TMenteF(tolvane::ui::Form* owner);
    ~TMenteF() override;

    tolvane::ui::Panel* Panel_Top;
    tolvane::ui::Label* Label2;
    tolvane::ui::Button* Btn_DB_make;
    tolvane::ui::Button* Btn_Return;
    tolvane::ui::RadioGroup* RadioGp1;

    // Catch deletion.
    tolvane::ui::Panel* Panel_Fish;
    tolvane::ui::DBGrid* DBGrid_Data;
    tolvane::ui::Label* Label5;
    tolvane::ui::Edit* Edit_Data_del;
    tolvane::ui::Button* Btn_D_del;
    tolvane::ui::Button* Btn_Data_First;
    tolvane::ui::Button* Btn_Data_Last;

    // Memo deletion.
    tolvane::ui::Panel* Panel_DEL;
    tolvane::ui::DBGrid* DBGrid_Memo;
    tolvane::ui::Label* Label1;
    tolvane::ui::Edit* Edit_del;
    tolvane::ui::Button* Btn_Del;

    // Genre append.
    tolvane::ui::Panel* Panel_Plus;
    tolvane::ui::Label* Label3;
    tolvane::ui::DBGrid* DBGrid_Jyanru;
    tolvane::ui::Edit* Edit_UP;
    tolvane::ui::Button* Btn_Up;
    tolvane::ui::Label* Label4;

    tolvane::db::Query IBSQL_Data{DM1->IBDB2, DM1->IBTr2};
    tolvane::ui::DataSource DataSource1{IBSQL_Data};
    tolvane::db::Query IBSQL_OUT{DM1->IBDB1, DM1->IBTr1};
    tolvane::ui::DataSource DataSource2{IBSQL_OUT};
    tolvane::db::Query IBSQL_J{DM1->IBDB1, DM1->IBTr1};
    tolvane::ui::DataSource DataSource3{IBSQL_J};
    tolvane::db::Query IBSQL_D_del{DM1->IBDB2, DM1->IBTr2};
    tolvane::db::Query IBSQL_UP{DM1->IBDB1, DM1->IBTr1};
    tolvane::db::Query IBSQL_K{DM1->IBDB1, DM1->IBTr1};

    void FormShow();
    void RadioGp1Click();
    void Btn_D_delClick();
    void Btn_DelClick();
    void Btn_UpClick();
    void DBGrid_DataDblClick();
    void Btn_Data_FirstClick();
    void Btn_Data_LastClick();
    void Btn_DB_makeClick();
    void Btn_ReturnClick();
    // The memo column shows the memo's text on one line.
    QString IBSQL_OUTF_MEMOGetText(tolvane::db::Field& f);

private:
    // The steps the three write buttons share: the empty-box message, the
    // statement with its parameter (outer message on failure), execute and
    // commit (rolled back with "失敗しました" on failure), then the box
    // emptied and the list read again.
    struct Write {
        tolvane::ui::Edit* box;
        const char* emptyMessage;
        const char* wrongMessage;
        tolvane::db::Query& query;
        const char* sql;
        tolvane::db::Transaction& transaction;
        tolvane::db::Query& list;
        bool number;   // :parCODE from the box read as a number, else :parSYURUI as typed
    };
    void runWrite(const Write& w);
};

extern TMenteF* MenteF;
