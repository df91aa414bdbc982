// The pick list: a small modal window offering the values already stored in
// one column of FISH_DATA. The opener sets SelKind ("BASYO", "FUNE", "SAKANA"
// or "KIJYUNN") and reads the answer from SelResult after the window closed:
// the value chosen, a new value typed into Edit_NEW, or empty text.
//
// Also here: FishNameList, the distinct species of the three species columns
// of FISH_DATA or FISH_MEMO, used by every window that offers species.
#pragma once

#include <QString>
#include <QStringList>
#include <string_view>

#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"

// The entry shown for an empty species list by the windows that show one
// (a blank, five hyphens, a blank); left in a box it is stored as text.
inline const QString kEmptyListPlaceholder = QStringLiteral(" ----- ");

// The species-list statement for `table` ("FISH_DATA" or "FISH_MEMO").
std::string fishNameListSql(std::string_view table);

// Runs the species list on `q` (closed and reused like every query) and
// returns one entry per row, in the server's order, NULL as empty text.
QStringList FishNameList(tolvane::db::Query& q, std::string_view table);
// The same, but a list that counts as empty (no row, or nothing but NULL)
// gives the single entry `emptyEntry`.
QStringList FishNameList(tolvane::db::Query& q, std::string_view table, const QString& emptyEntry);

// The first column of the open query `q` from its current row on: one entry
// per row, NULL as empty text; when the result counts as empty (no row, or
// nothing but NULL) the single entry `emptyEntry`.
QStringList firstColumnEntries(tolvane::db::Query& q, const QString& emptyEntry);

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
