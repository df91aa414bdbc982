// Files in any directory: a ':' in the path, the engine's lock directory, the
// engine's file lock between processes, and an attach failure's own text.
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "db/fb.h"
#include "db_fixture.h"
#include "support/test_databases.h"

namespace fs = std::filesystem;
using namespace tolvane;
using tolvane::test::exec;
using tolvane::test::openSql;

namespace {

// A copy of the catch-data template in `dir` (made with its parents).
std::string catchFileIn(const fs::path& dir) {
    const test::TempDatabases tmpl(test::Files::CatchOnly);
    fs::create_directories(dir);
    fs::copy_file(tmpl.catchFile(), dir / "SORVENDA.FDB");
    return (dir / "SORVENDA.FDB").string();
}

// The error of a first select on `c`, none when the file attached.
std::optional<db::Error> attachFailure(db::Connection& c) {
    db::Transaction t(c);
    db::Query q(c, t);
    try {
        openSql(q, "select * from FISH_PASS");
    } catch (const db::Error& e) {
        return e;
    }
    return std::nullopt;
}

int storeAndCount(const std::string& file, int key) {
    db::Connection c;
    c.databaseName = file;
    db::Transaction t(c);
    db::Query q(c, t);
    exec(q, "insert into FISH_ADDR (A00_CODENO, A02_SHOP) values (" + std::to_string(key) + ", \"釣具店\")");
    t.commitRetaining();
    openSql(q, "select count(*) from FISH_ADDR where A00_CODENO = " + std::to_string(key));
    return q.fields(0).asInteger();
}

// Sets or unsets an environment variable for the scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) setenv(name_.c_str(), old_->c_str(), 1);
        else unsetenv(name_.c_str());
    }

private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace

// The engine would read "…/tide:2026" as host "…/tide"; two such directories
// at once keep their own files, and nothing else is touched.
TEST(FileNames, ADirectoryWithAColonIsOpenedAsALocalDirectory) {
    const fs::path top = test::makeTempDir();
    const std::string a = catchFileIn(top / "tide:2026");
    const std::string b = catchFileIn(top / "x:y" / "z");
    {
        db::Connection ca, cb;
        ca.databaseName = a;
        cb.databaseName = b;
        db::Transaction ta(ca), tb(cb);
        db::Query qa(ca, ta), qb(cb, tb);
        exec(qa, "insert into FISH_ADDR (A00_CODENO) values (1)");
        ta.commitRetaining();
        exec(qb, "insert into FISH_ADDR (A00_CODENO) values (2)");
        tb.commitRetaining();
        openSql(qa, "select count(*) from FISH_ADDR");
        EXPECT_EQ(qa.fields(0).asInteger(), 1);
        openSql(qb, "select max(A00_CODENO) from FISH_ADDR");
        EXPECT_EQ(qb.fields(0).asInteger(), 2);
    }
    EXPECT_EQ(storeAndCount(a, 7), 1);
    EXPECT_STREQ(std::getenv("ISC_PATH"), "/proc/self/fd");   // as set at start, never changed
    // Relative to the current directory too.
    {
        test::ScopedCurrentDir cd(top);
        EXPECT_EQ(storeAndCount("tide:2026/SORVENDA.FDB", 8), 1);
    }
    fs::remove_all(top);
}

TEST(FileNames, AMissingFileInAColonDirectoryIsNamedByItsOwnPath) {
    const fs::path top = test::makeTempDir();
    fs::create_directories(top / "a:b");
    db::Connection c;
    c.databaseName = (top / "a:b" / "SORVENDA.FDB").string();
    const auto e = attachFailure(c);
    ASSERT_TRUE(e) << "attached a missing file";
    const std::string text = e->what();
    EXPECT_NE(text.find(c.databaseName), std::string::npos) << text;
    EXPECT_EQ(text.find("/proc/self"), std::string::npos) << text;
    EXPECT_NE(text.find("No such file"), std::string::npos) << text;   // not a host name
    fs::remove_all(top);
}

// A second process never shares a file, whatever lock directory it uses.
TEST(FileNames, AFileAttachedByAnotherProcessIsRefusedAsInUse) {
    test::TempDatabases files;
    test::FileHolder holder(files.catchFile());
    for (const bool ownLockDir : {false, true}) {
        SCOPED_TRACE(ownLockDir ? "another lock directory" : "the same lock directory");
        // The engine takes FIREBIRD_LOCK once per process: the other case
        // runs the attach in a child of its own.
        const fs::path other = test::makeTempDir("tolvane-otherlock-");
        const pid_t pid = fork();
        if (pid == 0) {
            if (ownLockDir) setenv("FIREBIRD_LOCK", other.c_str(), 1);
            db::Connection c;
            c.databaseName = files.catchFile();
            db::Transaction t(c);
            db::Query q(c, t);
            try {
                openSql(q, "select * from FISH_PASS");
            } catch (const db::Error& e) {
                _exit(e.fileInUse() ? 0 : 2);
            }
            _exit(1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "1: attached beside the other process; 2: another error";
        fs::remove_all(other);
    }
}

TEST(FileNames, AnAttachFailureCarriesTheTextTheConnectionGivesIt) {
    test::TempDatabases files(test::Files::None);
    db::Connection c;
    c.databaseName = files.catchFile();
    c.attachErrorText = [](const db::Connection& conn, const db::Error& e) {
        return "見つかりません " + conn.databaseName + "\n" + e.what();
    };
    const auto e = attachFailure(c);
    ASSERT_TRUE(e) << "attached a missing file";
    const std::string text = e->what();
    EXPECT_EQ(text.rfind("見つかりません " + files.catchFile() + "\nI/O error", 0), 0u) << text;
    EXPECT_NE(e->sqlcode(), 0);
    EXPECT_FALSE(e->codes().empty());
}

// The lock directory when none is set: the user's own, never one of another user.
TEST(LockDirectory, UnsetGivesADirectoryOfTheUsersOwn) {
    const fs::path top = test::makeTempDir();
    const std::string uid = std::to_string(geteuid());
    ScopedEnv xdg("XDG_RUNTIME_DIR", nullptr);
    ScopedEnv tmp("TMPDIR", top.c_str());
    {
        ScopedEnv lock("FIREBIRD_LOCK", nullptr);
        const std::string dir = db::useOwnLockDirectory();
        EXPECT_EQ(dir, (top / ("tolvane-fblock-" + uid)).string());
        EXPECT_EQ(std::getenv("FIREBIRD_LOCK"), dir);
        struct stat st {};
        ASSERT_EQ(lstat(dir.c_str(), &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        EXPECT_EQ(db::useOwnLockDirectory(), dir);   // set: kept
    }
    {
        // The name taken by a link (or another user's directory): a fresh one beside it.
        fs::remove(top / ("tolvane-fblock-" + uid));
        fs::create_directory_symlink("/", top / ("tolvane-fblock-" + uid));
        ScopedEnv lock("FIREBIRD_LOCK", nullptr);
        const std::string dir = db::useOwnLockDirectory();
        EXPECT_EQ(dir.rfind((top / ("tolvane-fblock-" + uid + "-")).string(), 0), 0u) << dir;
        EXPECT_TRUE(fs::is_directory(fs::symlink_status(dir)));
    }
    {
        ScopedEnv xdgSet("XDG_RUNTIME_DIR", top.c_str());
        ScopedEnv tmpOther("TMPDIR", "/nonexistent");
        ScopedEnv lock("FIREBIRD_LOCK", nullptr);
        fs::remove(top / ("tolvane-fblock-" + uid));
        EXPECT_EQ(db::useOwnLockDirectory(), (top / ("tolvane-fblock-" + uid)).string());
    }
    {
        ScopedEnv lock("FIREBIRD_LOCK", "/some/where");
        EXPECT_EQ(db::useOwnLockDirectory(), "/some/where");
    }
    fs::remove_all(top);
}
