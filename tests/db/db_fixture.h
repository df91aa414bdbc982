// A fresh pair of database files and a connection with its transaction on
// one of them, as the data module holds them.
#pragma once

#include <string>

#include "db/fb.h"
#include "support/test_databases.h"

namespace tolvane::test {

struct CatchDb {
    TempDatabases files{Files::Both};
    db::Connection db;
    db::Transaction tr{db};
    CatchDb() { db.databaseName = files.catchFile(); }
};

struct MemoDb {
    TempDatabases files{Files::Both};
    db::Connection db;
    db::Transaction tr{db};
    MemoDb() { db.databaseName = files.memoFile(); }
};

// Runs one statement as a window's write does: close, clear, add, execute.
inline void exec(db::Query& q, const std::string& sql) {
    q.close();
    q.sqlClear();
    q.sqlAdd(sql);
    q.execQuery();
}

inline void openSql(db::Query& q, const std::string& sql) {
    q.close();
    q.sqlClear();
    q.sqlAdd(sql);
    q.open();
}

}  // namespace tolvane::test
