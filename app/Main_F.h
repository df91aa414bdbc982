// The main window: the program's menu. Its first showing sets the entry mode,
// shows the version, reads (or creates) the settings row and probes for the
// lessons table; each button opens one modal window.
#pragma once

#include <memory>

#include "core/handover.h"
#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"

class TMainF : public tolvane::ui::Form {
public:
    TMainF();
    ~TMainF() override;

    tolvane::ui::Label* Label9;
    tolvane::ui::Button* Button1;
    tolvane::ui::Bevel* Bevel4;
    tolvane::ui::Label* Label3;
    tolvane::ui::Label* Label5;
    tolvane::ui::Button* Btn_Data_Out;
    tolvane::ui::Label* Label1;
    tolvane::ui::Label* Label2;
    tolvane::ui::Button* Btn_Memo_Out;
    tolvane::ui::Bevel* Bevel5;
    tolvane::ui::Label* Label8;
    tolvane::ui::Button* Btn_Bunseki;
    tolvane::ui::Label* Label11;
    tolvane::ui::Button* Btn_Kadai;
    tolvane::ui::Bevel* Bevel1;
    tolvane::ui::Label* Label7;
    tolvane::ui::Button* Btn_Data_In;
    tolvane::ui::Button* Btn_Memo_In;
    tolvane::ui::Bevel* Bevel2;
    tolvane::ui::Label* Label10;
    tolvane::ui::Button* Btn_Mente;
    tolvane::ui::Bevel* Bevel3;
    tolvane::ui::Label* Label4;
    tolvane::ui::Button* Btn_Name;
    tolvane::ui::Button* Btn_Name_In;
    tolvane::ui::Label* Label6;

    // IBSQL: settings row; IBSQL_K: lessons-table probe; IBSQL_1 is unused.
    std::unique_ptr<tolvane::db::Query> IBSQL;
    std::unique_ptr<tolvane::db::Query> IBSQL_K;
    std::unique_ptr<tolvane::db::Query> IBSQL_1;

    void FormShow();
    void Btn_Data_OutClick();
    void Btn_Data_InClick();
    void Btn_Memo_OutClick();
    void Btn_Memo_InClick();
    void Btn_BunsekiClick();
    void Btn_KadaiClick();
    void Btn_MenteClick();
    void Btn_NameClick();
    void Btn_Name_InClick();
    void Button1Click();
    void Label6DblClick();

private:
    QString GetVersionInfo();
    bool shownOnce_ = false;
};

extern TMainF* MainF;
