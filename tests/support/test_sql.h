// Statements run on a database file through a connection of the test's own,
// committed and detached before the program's own connections attach; and the
// lessons table, which fresh files lack, as the maintenance window creates it.
#pragma once

#include <initializer_list>
#include <string>

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

// The lessons table of the memo database.
inline const char* const kCreateKadaiSql =
    " CREATE TABLE FISH_KADAI ( K00_CODENO INTEGER, K00_PAPANO INTEGER, K01_FISH VARCHAR(40),"
    " K02_PLACE VARCHAR(40), K03_TUKI VARCHAR(10), K10_MEMO BLOB SUB_TYPE TEXT SEGMENT SIZE 80 ) ";

// Creates FISH_KADAI in the memo database file `memoFile`.
inline void createLessonsTable(const std::string& memoFile) { runSql(memoFile, {kCreateKadaiSql}); }

}  // namespace tolvane::test
