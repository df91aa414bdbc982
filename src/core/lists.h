// Lists that several windows offer: FishNameList, the distinct species of the
// three species columns of FISH_DATA or FISH_MEMO, the first column of a
// query's rows, and the entry shown for an empty list.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

#include "db/fb.h"

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
