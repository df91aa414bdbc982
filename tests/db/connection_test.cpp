// Attach on first use, the before-connect hook, one transaction ended only
// by commit-retaining and rollback-retaining, and the server's error text.
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "db/fb.h"
#include "db_fixture.h"
#include "support/test_databases.h"

namespace fs = std::filesystem;
using namespace tolvane;
using tolvane::test::CatchDb;
using tolvane::test::exec;
using tolvane::test::openSql;

namespace {

// The hook of the catch-data connection: the current directory of the moment.
void pointAtCurrentDir(db::Connection& c, int& calls) {
    c.beforeConnect = [&calls](db::Connection& self) {
        ++calls;
        self.databaseName = fs::current_path().string() + "/" + "SORVENDA.FDB";
    };
}

int countRows(db::Query& q, const std::string& table) {
    openSql(q, "select count(*) from " + table);
    return q.fields(0).asInteger();
}

}  // namespace

TEST(Connection, IsClosedUntilTheFirstQueryAndAttachesThen) {
    CatchDb c;
    EXPECT_FALSE(c.db.connected());
    EXPECT_FALSE(c.tr.active());
    db::Query q(c.db, c.tr);
    EXPECT_FALSE(c.db.connected());
    openSql(q, "select S01_SYUBETU from SYUBETU order by S00_NO");
    EXPECT_TRUE(c.db.connected());
    EXPECT_TRUE(c.tr.active());
    ASSERT_EQ(q.recordCount(), 5);
    q.last();
    EXPECT_EQ(q.fields(0).asString(), "個　人");
}

TEST(Connection, FailedAttachStaysClosedAndRetriesOnceTheFileAppears) {
    test::TempDatabases files(test::Files::None);
    test::ScopedCurrentDir cd(files.dir());
    db::Connection conn;
    db::Transaction tr(conn);
    int hookCalls = 0;
    pointAtCurrentDir(conn, hookCalls);
    db::Query q(conn, tr);

    for (int attempt = 1; attempt <= 2; ++attempt) {
        EXPECT_THROW(openSql(q, "select * from FISH_PASS"), db::Error);
        EXPECT_FALSE(conn.connected());
        EXPECT_FALSE(tr.active());
        EXPECT_EQ(hookCalls, attempt);   // every use tries again, hook first
    }
    // A failed write's roll-back must not raise a second error.
    EXPECT_NO_THROW(tr.rollbackRetaining());
    EXPECT_NO_THROW(tr.commitRetaining());

    files.addCatchFile();
    openSql(q, "select * from FISH_PASS");
    EXPECT_TRUE(conn.connected());
    EXPECT_EQ(hookCalls, 3);
    EXPECT_EQ(conn.databaseName, files.catchFile());
}

TEST(Connection, HookReadsTheCurrentDirectoryOfEachAttempt) {
    test::TempDatabases empty(test::Files::None);
    test::TempDatabases full(test::Files::CatchOnly);
    db::Connection conn;
    db::Transaction tr(conn);
    int hookCalls = 0;
    pointAtCurrentDir(conn, hookCalls);
    db::Query q(conn, tr);
    {
        test::ScopedCurrentDir cd(empty.dir());
        EXPECT_THROW(openSql(q, "select * from FISH_PASS"), db::Error);
        EXPECT_EQ(conn.databaseName, (empty.dir() / "SORVENDA.FDB").string());
    }
    {
        test::ScopedCurrentDir cd(full.dir());
        openSql(q, "select * from FISH_PASS");
        EXPECT_EQ(conn.databaseName, full.catchFile());
    }
    // Once attached it stays attached: no further hook call, whatever the directory.
    test::ScopedCurrentDir cd(empty.dir());
    openSql(q, "select * from SYUBETU");
    EXPECT_EQ(hookCalls, 2);
    EXPECT_EQ(conn.databaseName, full.catchFile());
}

TEST(Connection, MissingFileGivesTheServersMessageWithAllItsLines) {
    test::TempDatabases files(test::Files::None);
    db::Connection conn;
    db::Transaction tr(conn);
    conn.databaseName = (files.dir() / "SORVENDA.FDB").string();
    db::Query q(conn, tr);
    try {
        openSql(q, "select * from FISH_PASS");
        FAIL() << "attach to a missing file succeeded";
    } catch (const db::Error& e) {
        const std::string text = e.what();
        EXPECT_NE(text.find("I/O error"), std::string::npos) << text;
        EXPECT_NE(text.find(conn.databaseName), std::string::npos) << text;
        EXPECT_NE(text.find('\n'), std::string::npos) << "only one status line: " << text;
        EXPECT_NE(text.find("No such file or directory"), std::string::npos) << text;
        EXPECT_NE(e.sqlcode(), 0);
    }
    // The same error again at the next use.
    EXPECT_THROW(openSql(q, "select * from FISH_PASS"), db::Error);
}

TEST(Transaction, CommitRetainingMakesAWriteVisibleAndDurable) {
    test::TempDatabases files(test::Files::CatchOnly);
    {
        db::Connection conn;
        db::Transaction tr(conn);
        conn.databaseName = files.catchFile();
        db::Query w(conn, tr);
        db::Query r(conn, tr);
        exec(w, "insert into FISH_PASS (P00_CODENO, P01_PASSWD, P02_PASSWD) values (0, 1, \"FUNE\")");
        tr.commitRetaining();
        EXPECT_TRUE(tr.active());   // retained: the same transaction goes on
        EXPECT_EQ(countRows(r, "FISH_PASS"), 1);
        // Written but never committed: not kept when the program ends.
        exec(w, "insert into FISH_PASS (P00_CODENO, P01_PASSWD, P02_PASSWD) values (9, 9, \"X\")");
        EXPECT_EQ(countRows(r, "FISH_PASS"), 2);
    }
    // The next start of the program.
    db::Connection conn;
    db::Transaction tr(conn);
    conn.databaseName = files.catchFile();
    db::Query r(conn, tr);
    openSql(r, "select P00_CODENO, P01_PASSWD, P02_PASSWD from FISH_PASS");
    ASSERT_EQ(r.recordCount(), 1);
    EXPECT_EQ(r.fieldByName("P01_PASSWD").asInteger(), 1);
    EXPECT_EQ(r.fieldByName("P02_PASSWD").asString(), "FUNE");
}

TEST(Transaction, FailedWriteIsRolledBackAndTheNextGoodWriteCommits) {
    test::TempDatabases files(test::Files::CatchOnly);
    {
        db::Connection conn;
        db::Transaction tr(conn);
        conn.databaseName = files.catchFile();
        db::Query w(conn, tr);
        db::Query r(conn, tr);

        // The write pattern: execute and commit in a guarded block, roll back on failure.
        auto write = [&](const std::string& day) {
            try {
                w.close();
                w.sqlClear();
                w.sqlAdd("insert into FISH_DATA (CODENO, DAY_DATA) values (:parCODENO, :parDAY_DATA)");
                w.paramByName("parCODENO").setInteger(1);
                w.paramByName("parDAY_DATA").setString(day);
                w.execQuery();
                tr.commitRetaining();
                return true;
            } catch (const db::Error&) {
                tr.rollbackRetaining();
                return false;
            }
        };
        EXPECT_FALSE(write(std::string(21, '9')));   // one byte too wide
        EXPECT_TRUE(tr.active());
        EXPECT_TRUE(write("2024/03/05"));
        openSql(r, "select DAY_DATA from FISH_DATA");
        ASSERT_EQ(r.recordCount(), 1);
        EXPECT_EQ(r.fields(0).asString(), "2024/03/05");
    }
    db::Connection conn;
    db::Transaction tr(conn);
    conn.databaseName = files.catchFile();
    db::Query r(conn, tr);
    EXPECT_EQ(countRows(r, "FISH_DATA"), 1);
}

TEST(Transaction, RollbackRetainingUndoesOnlyWhatWasNotCommitted) {
    CatchDb c;
    db::Query w(c.db, c.tr);
    db::Query r(c.db, c.tr);
    exec(w, "insert into FISH_DATA (CODENO) values (1)");
    c.tr.commitRetaining();
    exec(w, "insert into FISH_DATA (CODENO) values (2)");
    c.tr.rollbackRetaining();
    EXPECT_TRUE(c.tr.active());
    openSql(r, "select CODENO from FISH_DATA");
    ASSERT_EQ(r.recordCount(), 1);
    EXPECT_EQ(r.fields(0).asInteger(), 1);
}

TEST(Transaction, TableCreatedAndCommittedIsUsableInTheSameRun) {
    test::MemoDb m;
    db::Query q(m.db, m.tr);
    try {
        openSql(q, "select * from FISH_KADAI");
        FAIL() << "the lessons table exists before it was created";
    } catch (const db::Error& e) {
        EXPECT_NE(std::string(e.what()).find("FISH_KADAI"), std::string::npos) << e.what();
    }
    m.tr.rollbackRetaining();
    exec(q, " CREATE TABLE FISH_KADAI ( K00_CODENO INTEGER, K00_PAPANO INTEGER, K01_FISH VARCHAR(40),"
            " K02_PLACE VARCHAR(40), K03_TUKI VARCHAR(10), K10_MEMO BLOB SUB_TYPE TEXT SEGMENT SIZE 80 ) ");
    m.tr.commitRetaining();
    q.close();
    q.sqlClear();
    q.sqlAdd("insert into FISH_KADAI (K00_CODENO, K03_TUKI, K10_MEMO) values (:parK00_CODENO, :parK03_TUKI, :parK10_MEMO)");
    q.paramByName("parK00_CODENO").setInteger(1);
    q.paramByName("parK03_TUKI").setString("3");
    q.paramByName("parK10_MEMO").setTextBlob("仕掛けを短く\r\n朝マヅメ");
    q.execQuery();
    m.tr.commitRetaining();
    openSql(q, "select * from FISH_KADAI");
    ASSERT_EQ(q.recordCount(), 1);
    EXPECT_EQ(q.fieldByName("K10_MEMO").asString(), "仕掛けを短く\r\n朝マヅメ");
}

TEST(Connection, AQueryMayOutliveItsConnection) {
    test::TempDatabases files(test::Files::CatchOnly);
    auto conn = std::make_unique<db::Connection>();
    auto tr = std::make_unique<db::Transaction>(*conn);
    conn->databaseName = files.catchFile();
    auto q = std::make_unique<db::Query>(*conn, *tr);
    openSql(*q, "select * from SYUBETU");
    exec(*q, "insert into FISH_PASS (P00_CODENO) values (0)");   // left uncommitted
    conn.reset();   // detaches, rolling the transaction back
    tr.reset();
    q.reset();      // must not touch the freed statement
    db::Connection again;
    db::Transaction tr2(again);
    again.databaseName = files.catchFile();
    db::Query r(again, tr2);
    EXPECT_EQ(countRows(r, "FISH_PASS"), 0);
}

// A TERM after the attach reaches the program's pipe, and the client library
// has not shut its engine down: the connection still runs statements. In a
// process of its own, where no thread exists before the signals are caught.
[[noreturn]] void termAfterAttach() {
    const int fd = db::catchTerminationSignals();
    db::deliverTerminationSignals();
    CatchDb c;
    db::Query q(c.db, c.tr);
    const bool attached = countRows(q, "SYUBETU") == 5;
    kill(getpid(), SIGTERM);
    pollfd p{fd, POLLIN, 0};
    unsigned char byte = 0;
    const bool signalled = poll(&p, 1, 5000) == 1 && read(fd, &byte, 1) == 1 && byte == SIGTERM;
    const bool running = countRows(q, "SYUBETU") == 5;
    std::_Exit(attached && signalled && running ? 0 : 1);
}

TEST(ConnectionDeathTest, TermAfterAttachReachesThePipeAndLeavesTheEngineRunning) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(termAfterAttach(), ::testing::ExitedWithCode(0), "");
}
