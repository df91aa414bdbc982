// The address list: the entries of FISH_ADDR of one kind (or all), listed by
// shop name or by personal name. A double click opens the entry in the
// address window; its key stays in AddrCode for the main window.
#pragma once

#include <array>

#include <QStringList>

#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"

class TName_SelF : public tolvane::ui::Form {
public:
    explicit TName_SelF(tolvane::ui::Form* owner);
    ~TName_SelF() override;

    tolvane::ui::FlatButton* S_Btn_Shop;
    tolvane::ui::FlatButton* S_Btn_Name;
    tolvane::ui::Button* Btn_Close;
    tolvane::ui::Button* Btn_Other;
    tolvane::ui::Button* Btn_Shop;
    tolvane::ui::Button* Btn_fune;
    tolvane::ui::Button* Btn_Tosen;
    tolvane::ui::Button* Btn_Kojin;
    tolvane::ui::Button* Btn_all;
    tolvane::ui::ListBox* ListBox1;

    tolvane::db::Query IBSQL;

    void FormCreate();
    void FormShow();
    void Btn_ZZ_Click(tolvane::ui::Button* sender);
    void S_Btn_XX_Click();
    void ListBox1DblClick();
    void Btn_CloseClick();

    // Row 0 the keys, row 1 the shops, row 2 the names, one column per entry.
    std::array<QStringList, 3> AddrList;
    int AddrCount = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void AddrRead(int kind);
    void ListSet();
    bool dblClickOnItem_ = false;
};

extern TName_SelF* Name_SelF;
