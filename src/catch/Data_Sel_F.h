// The pick list: a small modal window offering the values already stored in
// one column of FISH_DATA. The opener sets SelKind ("BASYO", "FUNE", "SAKANA"
// or "KIJYUNN") and reads the answer from SelResult after the window closed:
// the value chosen, a new value typed into Edit_NEW, or empty text.
#pragma once

#include <QString>
#include <QStringList>
#include <string_view>

#include "core/lists.h"
#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"

class TData_Sel : public tolvane::ui::Form {
public:
    explicit TData_Sel(tolvane::ui::Form* owner);
    ~TData_Sel() override;

    tolvane::ui::ListBox* ListBox1;
    tolvane::ui::Label* Label1;
    tolvane::ui::Edit* Edit_NEW;
    tolvane::ui::Button* Button1;

    tolvane::db::Query IBSQL;

    void FormShow();
    void FormResize();
    void ListBox1DblClick();
    void ListBox1KeyPress(QChar& key);
    void Edit_NEWKeyPress(QChar& key);
    void Button1Click();

protected:
    // Closed by the title bar: answers empty text, like Button1.
    void closeEvent(QCloseEvent* e) override;

private:
    void answer(const QString& value);
    QString selectedText() const;
    bool answered_ = false;
};

extern TData_Sel* Data_Sel;
