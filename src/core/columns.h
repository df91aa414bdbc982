// The widths of the text columns of both databases, in one place, and what
// the windows do with them: a single-line box that feeds a VARCHAR column
// takes no more Shift-JIS bytes than the column holds, as typed and as
// pasted. Also the check a save makes for characters Shift-JIS cannot hold.
//
//     limitToColumn(Edit_Basyo, "FISH_DATA", "BASYO");   // 20 bytes
//     if (auto c = unstorableCharacter(Memo_Cyouka->text()))
//         message += "\n" + unstorableCharacterLine(Label_Cyouka->caption(), *c);
#pragma once

#include <QString>
#include <optional>
#include <string_view>

namespace tolvane::ui {
class Edit;
class ComboBox;
}  // namespace tolvane::ui

// Width in bytes of the VARCHAR column `table`.`column` (names as in the
// schema, any case); 0 for a column that is not VARCHAR or not known.
int columnWidth(std::string_view table, std::string_view column);

// Sets the box's byte limit to the column's width. A column that is not
// VARCHAR (or a misspelt name) throws std::invalid_argument, so a wrong name
// is found at the window's first showing, not by the user.
void limitToColumn(tolvane::ui::Edit* box, std::string_view table, std::string_view column);
void limitToColumn(tolvane::ui::ComboBox* box, std::string_view table, std::string_view column);

// The first character of `text` that Shift-JIS (CP932) cannot hold, if any.
std::optional<QString> unstorableCharacter(const QString& text);

// The line added under a save's refusal naming that character and the label
// of its box: 「釣果　釣行記録」の「😀」は登録できない文字です
QString unstorableCharacterLine(const QString& label, const QString& character);
