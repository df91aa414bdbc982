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
#include "support/test_sql.h"
#include "support/window_session.h"

namespace catchtest {

using Session = tolvane::test::WindowSession;

// Runs statements on the program's own catch-data connection and commits.
inline void execCatch(std::initializer_list<std::string> statements) {
    tolvane::test::runOnProgram(DM1->IBDB2, DM1->IBTr2, statements);
}

using Value = tolvane::test::StoredValue;
using Row = tolvane::test::StoredRow;

// Every row of FISH_DATA, by key, as committed.
inline std::vector<Row> storedRows(const std::string& file) {
    return tolvane::test::storedRows(file, "select * from FISH_DATA order by CODENO");
}

}  // namespace catchtest
