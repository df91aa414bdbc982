#include "totals/figures.h"

#include <QDate>
#include <QFontMetrics>
#include <QPainter>
#include <cmath>
#include <optional>

using tolvane::db::Query;

namespace totals {

std::int64_t slotFigure(Query& q, const char* kind, const char* param, const QString& pattern,
                        const QString& fish) {
    std::int64_t result = 0;
    for (int n = 1; n <= 3; ++n) {
        const std::string slot = "FISH" + std::to_string(n);
        const std::string value = std::string(kind) == "sum"
                                      ? "sum(cast(" + slot + "_KAZU as double precision))"
                                      : "count(" + slot + "_KAZU)";
        q.close();
        q.sqlClear();
        q.sqlAdd("select " + value + " from FISH_DATA where DAY_DATA like :" + param + " and " + slot +
                 " = :parFishName");
        q.paramByName(param).setString(pattern.toStdString());
        q.paramByName("parFishName").setString(fish.toStdString());
        q.open();
        // NULL reads as 0.
        result += std::llround(q.fields(0).asFloat());
    }
    return result;
}

std::map<std::string, Figures> groupedFigures(Query& q, const QString& fish, int from, int length) {
    // One pass over the table: each slot's sum and count over the records
    // where that slot holds the fish.
    q.close();
    q.sqlClear();
    q.sqlAdd("select substring(DAY_DATA from " + std::to_string(from) + " for " + std::to_string(length) + ")");
    for (int n = 1; n <= 3; ++n) {
        const std::string slot = "FISH" + std::to_string(n);
        q.sqlAdd(", sum(case when " + slot + " = :parFishName then cast(" + slot +
                 "_KAZU as double precision) end), count(case when " + slot + " = :parFishName then " +
                 slot + "_KAZU end)");
    }
    q.sqlAdd(" from FISH_DATA where DAY_DATA like '__________' and (FISH1 = :parFishName or"
             " FISH2 = :parFishName or FISH3 = :parFishName) group by 1");
    q.paramByName("parFishName").setString(fish.toStdString());
    q.open();
    std::map<std::string, Figures> out;
    for (q.first(); !q.eof(); q.next()) {
        Figures& f = out[q.fields(0).asBytes()];
        for (int n = 0; n < 3; ++n) {
            f.total += std::llround(q.fields(1 + 2 * n).asFloat());
            f.trips += q.fields(2 + 2 * n).asInteger();
        }
    }
    q.close();
    return out;
}

std::optional<int> dateYear(Query& q, const char* aggregate) {
    q.close();
    q.sqlClear();
    q.sqlAdd(std::string("select ") + aggregate +
             " (DAY_DATA) from FISH_DATA where DAY_DATA like '____/__/__'");
    q.open();
    const std::string d = q.fields(0).asBytes();
    if (d.size() < 4) return std::nullopt;
    int y = 0;
    for (int i = 0; i < 4; ++i) {
        if (d[i] < '0' || d[i] > '9') return std::nullopt;
        y = y * 10 + (d[i] - '0');
    }
    return y;
}

QString averageText(std::int64_t total, std::int64_t trips) {
    if (trips <= 0) return QString();
    const bool negative = total < 0;
    const std::int64_t num = (negative ? -total : total) * 10;
    const std::int64_t tenths = (2 * num + trips) / (2 * trips);   // half away from zero
    const std::int64_t whole = tenths / 10;
    QString s = negative && tenths != 0 ? QStringLiteral("-") : QString();
    if (whole != 0) s += QString::number(whole);
    return s + QLatin1Char('.') + QString::number(tenths % 10);
}

void drawCentred(tolvane::ui::DrawCellArgs& a, const QString& text) {
    const QFontMetrics fm(a.canvas.font());
    const int left = a.rect.left() + a.rect.width() / 2 - fm.horizontalAdvance(text) / 2;
    const int top = a.rect.top() + a.rect.height() / 2 - fm.height() / 2;
    a.canvas.drawText(left, top + fm.ascent(), text);
}

}  // namespace totals
