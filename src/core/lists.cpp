#include "core/lists.h"

using tolvane::db::Query;

std::string fishNameListSql(std::string_view table) {
    const std::string t(table);
    return " select distinct FISH1 from " + t + " union select distinct FISH2 from " + t +
           " union select distinct FISH3 from " + t + " ";
}

QStringList firstColumnEntries(Query& q, const QString& emptyEntry) {
    QStringList entries;
    bool anyValue = false;
    for (; !q.eof(); q.next()) {
        const tolvane::db::Field& f = q.fields(0);
        if (!f.isNull()) anyValue = true;
        entries << QString::fromStdString(f.asString());
    }
    if (!anyValue) return {emptyEntry};
    return entries;
}

namespace {

void openSpeciesList(Query& q, std::string_view table) {
    q.close();
    q.sqlClear();
    q.sqlAdd(fishNameListSql(table));
    q.open();
    q.first();
}

}  // namespace

QStringList FishNameList(Query& q, std::string_view table) {
    openSpeciesList(q, table);
    QStringList entries;
    for (; !q.eof(); q.next()) entries << QString::fromStdString(q.fields(0).asString());
    return entries;
}

QStringList FishNameList(Query& q, std::string_view table, const QString& emptyEntry) {
    openSpeciesList(q, table);
    return firstColumnEntries(q, emptyEntry);
}
