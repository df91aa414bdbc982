// The address window: one entry of FISH_ADDR shown for correction
// (AddrMode 0, the entry AddrCode), or an empty form for a new entry.
#pragma once

#include <functional>

#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"

class TName_ShowF : public tolvane::ui::Form {
public:
    explicit TName_ShowF(tolvane::ui::Form* owner);
    ~TName_ShowF() override;

    tolvane::ui::Label* Label0;
    tolvane::ui::Edit* Edit0;
    tolvane::ui::Label* Label1;
    tolvane::ui::ComboBox* ComboBox1;
    tolvane::ui::Button* Btn_In;
    tolvane::ui::Button* Btn_Close;
    tolvane::ui::Label* Label2;
    tolvane::ui::Edit* Edit2;
    tolvane::ui::Label* Label3;
    tolvane::ui::Edit* Edit3;
    tolvane::ui::Label* Label4;
    tolvane::ui::Edit* Edit4;
    tolvane::ui::Label* Label5;
    tolvane::ui::Edit* Edit5;
    tolvane::ui::Label* Label6;
    tolvane::ui::Edit* Edit6;
    tolvane::ui::Label* Label7;
    tolvane::ui::Edit* Edit7;
    tolvane::ui::Label* Label8;
    tolvane::ui::Edit* Edit8;
    tolvane::ui::Label* Label9;
    tolvane::ui::Edit* Edit9;
    tolvane::ui::Memo* Memo1;

    tolvane::db::Query IBSQL;

    void FormCreate();
    void FormShow();
    void ComboBox1Change();
    void Btn_InClick();
    void Btn_CloseClick();

    // The kind that is stored: the box's kind when its text is a kind's
    // name, else the kind the box last held.
    int chosenKind() const;

protected:
    // Closed by the title bar: like "閉じる", nothing reopens.
    void closeEvent(QCloseEvent* e) override;

private:
    void AddrNew();
    void AddrShow();
    void AddrInsert();
    void AddrUpdate();
    // Sets the parameters shared by the insert and the update, runs the
    // statement and commits; on failure rolls back and says so. True when
    // stored.
    bool store(const std::function<void()>& setKey);
    int kind_ = 0;          // the kind the box last held
    bool picked_ = false;   // the change under way is a pick from the list
    bool saved_ = false;    // closed after a commit
};

extern TName_ShowF* Name_ShowF;
