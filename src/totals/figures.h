// What the totals windows share: the figures of one fish over the catch
// records whose date matches a pattern, the average text, the centred cell.
//
// A figure is, for the three fish slots, the sum of the slot's count and the
// number of its counts that are not NULL, over the records whose fish column
// equals the fish and whose DAY_DATA is like the pattern; the slots added.
// Sums are taken in 64 bits: an INTEGER sum would overflow in dialect 1.
#pragma once

#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "db/fb.h"
#include "ui/grids.h"

namespace totals {

struct Figures {
    std::int64_t total = 0;
    std::int64_t trips = 0;
};

// The per-slot statements: `kind` "sum" or "count", `param` the pattern's
// parameter name ("parNenn_Do" or "parTuki_Do"). One statement per slot, run
// on `q`, added up.
std::int64_t slotFigure(tolvane::db::Query& q, const char* kind, const char* param,
                        const QString& pattern, const QString& fish);

// Every figure of `fish` in one statement: the records with a ten-character
// date, grouped by the `length` characters of DAY_DATA starting at `from`
// (1-based), keyed by those bytes as stored. For a ten-character pattern
// whose other characters are "_", the entry of its fixed characters equals
// the per-slot statements' figures.
std::map<std::string, Figures> groupedFigures(tolvane::db::Query& q, const QString& fish, int from,
                                              int length);

// The year (first four characters, all ASCII digits) of the smallest or
// largest date of the form ____/__/__; none without such a record.
std::optional<int> dateYear(tolvane::db::Query& q, const char* aggregate);

// `total` / `trips` as "#.0": the nearest tenth (halves away from zero, from
// the integers), nothing before the point when the integer part is 0.
QString averageText(std::int64_t total, std::int64_t trips);

// Draws `text` centred in the cell the way the totals grids do: halves of the
// cell and of the text truncated towards zero.
void drawCentred(tolvane::ui::DrawCellArgs& a, const QString& text);

}  // namespace totals
