// Shared set-up of the catch window tests: a fresh pair of database files as
// the current directory, the data module over them, the hand-over variables
// at their start values; rows stored beforehand and read back afterwards
// through a connection of the test's own.
#pragma once

#include <QString>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/DM_1.h"
#include "core/handover.h"
#include "db/fb.h"
#include "support/test_databases.h"

namespace catchtest {

class Session {
public:
    explicit Session(tolvane::test::Files f = tolvane::test::Files::Both) : files(f), cd_(files.dir()) {
        ResetHandOverVariables();
        createDataModule();
    }
    ~Session() { freeDataModule(); }

    tolvane::test::TempDatabases files;

private:
    tolvane::test::ScopedCurrentDir cd_;
};

// Runs statements on the program's own catch-data connection and commits.
inline void execCatch(std::initializer_list<std::string> statements) {
    tolvane::db::Query q(DM1->IBDB2, DM1->IBTr2);
    for (const auto& s : statements) {
        q.close();
        q.sqlClear();
        q.sqlAdd(s);
        q.execQuery();
    }
    DM1->IBTr2.commitRetaining();
}

// One column of a stored row.
struct Value {
    bool null = true;
    QString text;        // as text (empty for picture bytes that are not)
    std::string bytes;   // bytes as stored
};
using Row = std::map<std::string, Value>;

// Every row of FISH_DATA, by key, read through a connection of its own, so
// only what was committed is seen.
inline std::vector<Row> storedRows(const std::string& file) {
    tolvane::db::Connection c;
    c.databaseName = file;
    tolvane::db::Transaction t(c);
    tolvane::db::Query q(c, t);
    q.sqlAdd("select * from FISH_DATA order by CODENO");
    q.open();
    std::vector<Row> rows;
    for (; !q.eof(); q.next()) {
        Row r;
        for (int i = 0; i < q.fieldCount(); ++i) {
            auto& f = q.fields(i);
            Value v;
            v.null = f.isNull();
            v.bytes = f.asBytes();
            try {
                v.text = QString::fromStdString(f.asString());
            } catch (const tolvane::db::Error&) {
                // a picture: its bytes are not text
            }
            r[f.name()] = v;
        }
        rows.push_back(std::move(r));
    }
    return rows;
}

}  // namespace catchtest
