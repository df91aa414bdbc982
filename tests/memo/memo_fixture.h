// Shared set-up of the memo window tests: a fresh pair of database files as
// the current directory, the data module over them, the hand-over variables
// at their start values; memos stored beforehand through a connection of the
// test's own and read back the same way.
#pragma once

#include <QImage>
#include <QString>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/DM_1.h"
#include "core/handover.h"
#include "db/fb.h"
#include "memo/Show_F.h"
#include "support/test_databases.h"
#include "support/test_pictures.h"
#include "support/test_sql.h"
#include "support/window_session.h"

namespace memotest {

class Session : public tolvane::test::WindowSession {
public:
    Session() {
        MemoSearchSql.clear();
        MemoCodes.clear();
    }
    ~Session() { MemoSearchSql.clear(); }

    // Runs statements on the memo file through a connection of the test's own.
    void sql(std::initializer_list<std::string> statements) {
        tolvane::test::runSql(files.memoFile(), statements);
    }
};

using Value = tolvane::test::StoredValue;
using Row = tolvane::test::StoredRow;

// Every row of FISH_MEMO by CODE, as committed.
inline std::vector<Row> storedMemos(const std::string& file) {
    return tolvane::test::storedRows(file, "select * from FISH_MEMO order by CODE");
}

// A memo row of plain texts and months (every other column NULL).
inline std::string memoInsert(int code, const std::string& f1, const std::string& bunrui,
                              const std::string& basyo, const std::string& text,
                              std::initializer_list<int> months = {}) {
    std::string m;
    for (int i = 1; i <= 12; ++i) {
        bool on = false;
        for (int x : months) on = on || x == i;
        m += on ? ", 1" : ", 0";
    }
    auto lit = [](const std::string& s) { return s == "NULL" ? s : tolvane::db::quoted(s); };
    return "insert into FISH_MEMO (CODE, FISH1, BUNRUI, BASYO, F_MEMO, M1, M2, M3, M4, M5, M6, M7, M8,"
           " M9, M10, M11, M12) values (" + std::to_string(code) + ", " + lit(f1) + ", " + lit(bunrui) +
           ", " + lit(basyo) + ", " + lit(text) + m + ")";
}

using tolvane::test::gradient;

// Runs statements on the program's own memo connection and commits, as
// another window of the program would.
inline void execMemo(std::initializer_list<std::string> statements) {
    tolvane::test::runOnProgram(DM1->IBDB1, DM1->IBTr1, statements);
}

// Stores `bytes` as the blob `column` of memo `code` in the file, through a
// connection of the test's own.
inline void storeBlob(const std::string& file, int code, const std::string& column,
                      const std::string& bytes) {
    tolvane::db::Connection c;
    c.databaseName = file;
    tolvane::db::Transaction t(c);
    tolvane::db::Query q(c, t);
    q.sqlAdd("update FISH_MEMO set " + column + " = :parX where CODE = " + std::to_string(code));
    q.paramByName("parX").setBlob(bytes);
    q.execQuery();
    t.commitRetaining();
}

}  // namespace memotest
