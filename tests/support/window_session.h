// Fresh database files as the current directory, the hand-over variables at
// their start values and the data module over the files, for as long as the
// session lives. Window tests link the data module and the hand-over library.
#pragma once

#include <initializer_list>
#include <string>

#include "core/DM_1.h"
#include "core/handover.h"
#include "db/fb.h"
#include "support/test_databases.h"

namespace tolvane::test {

class WindowSession {
public:
    explicit WindowSession(Files f = Files::Both) : files(f), cd_(files.dir()) {
        ResetHandOverVariables();
        createDataModule();
    }
    ~WindowSession() { freeDataModule(); }
    WindowSession(const WindowSession&) = delete;
    WindowSession& operator=(const WindowSession&) = delete;

    TempDatabases files;

private:
    ScopedCurrentDir cd_;
};

// Runs statements on one of the program's own connections and commits, as
// another window of the program would.
inline void runOnProgram(db::Connection& c, db::Transaction& t,
                         std::initializer_list<std::string> statements) {
    db::Query q(c, t);
    for (const auto& s : statements) {
        q.close();
        q.sqlClear();
        q.sqlAdd(s);
        q.execQuery();
    }
    t.commitRetaining();
}

}  // namespace tolvane::test
