// The widths of the text columns of both databases, in one place, and what
// the windows do with them: a single-line box that feeds a VARCHAR column
// takes no more Shift-JIS bytes than the column holds, as typed and as
// pasted. Also the check a save makes for characters Shift-JIS cannot hold,
// before anything is sent, and the search values that cannot match.
//
//     limitToColumn(Edit_Basyo, "FISH_DATA", "BASYO");   // 20 bytes
//     const QString line = unstorableTextLine({{Memo_Cyouka->text(), Label_Cyouka->caption()}});
//     if (!line.isEmpty()) {   // refused: nothing is sent, the text stays typed
//         platform().messageBox(this, failureMessage("入力が間違っています。確認ください", line));
//         return;
//     }
#pragma once

#include <QString>
#include <optional>
#include <string_view>
#include <vector>

namespace tolvane::ui {
class Edit;
class ComboBox;
}  // namespace tolvane::ui

namespace tolvane::db {
class Param;
}  // namespace tolvane::db

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

// A text a save is about to store and the name of its box: the caption of
// the box's label on screen, or the name the window gives a box without one.
struct BoxText {
    QString text;
    QString box;
};

// The naming line for the first of `texts`, in the order given, that holds a
// character Shift-JIS cannot hold; empty when every text can be stored.
QString unstorableTextLine(const std::vector<BoxText>& texts);

// The message of a failed save: the window's own message, and under it the
// naming line when there is one.
QString failureMessage(const QString& message, const QString& line);

// A search value. No stored text holds a character Shift-JIS cannot hold, so
// such a value matches nothing: the parameter is left NULL (which equals
// nothing, and is like nothing), and the literal is NULL, instead of the
// search failing on the conversion.
void setSearchText(tolvane::db::Param& param, const QString& value);
QString searchLiteral(const QString& value);
