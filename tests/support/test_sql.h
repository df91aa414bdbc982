// Statements run on a database file through a connection of the test's own,
// committed and detached before the program's own connections attach; rows
// read back the same way; and the lessons table, which fresh files lack, as
// the maintenance window creates it.
#pragma once

#include <QString>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "db/fb.h"

namespace tolvane::test {

inline void runSql(const std::string& file, std::initializer_list<std::string> statements) {
    db::Connection c;
    c.databaseName = file;
    db::Transaction t(c);
    db::Query q(c, t);
    for (const auto& s : statements) {
        q.close();
        q.sqlClear();
        q.sqlAdd(s);
        q.execQuery();
    }
    t.commitRetaining();
}

// One column of a stored row.
struct StoredValue {
    bool null = true;
    QString text;        // as text (empty for picture bytes that are not)
    std::string bytes;   // bytes as stored
};
using StoredRow = std::map<std::string, StoredValue>;

// Every row `select` gives, read through a connection of the test's own, so
// only what was committed is seen.
inline std::vector<StoredRow> storedRows(const std::string& file, const std::string& select) {
    db::Connection c;
    c.databaseName = file;
    db::Transaction t(c);
    db::Query q(c, t);
    q.sqlAdd(select);
    q.open();
    std::vector<StoredRow> rows;
    for (; !q.eof(); q.next()) {
        StoredRow r;
        for (int i = 0; i < q.fieldCount(); ++i) {
            auto& f = q.fields(i);
            StoredValue v;
            v.null = f.isNull();
            v.bytes = f.asBytes();
            try {
                v.text = QString::fromStdString(f.asString());
            } catch (const db::Error&) {
                // a picture: its bytes are not text
            }
            r[f.name()] = v;
        }
        rows.push_back(std::move(r));
    }
    return rows;
}

// The lessons table of the memo database.
inline const char* const kCreateKadaiSql =
    " CREATE TABLE FISH_KADAI ( K00_CODENO INTEGER, K00_PAPANO INTEGER, K01_FISH VARCHAR(40),"
    " K02_PLACE VARCHAR(40), K03_TUKI VARCHAR(10), K10_MEMO BLOB SUB_TYPE TEXT SEGMENT SIZE 80 ) ";

// Creates FISH_KADAI in the memo database file `memoFile`.
inline void createLessonsTable(const std::string& memoFile) { runSql(memoFile, {kCreateKadaiSql}); }

}  // namespace tolvane::test
