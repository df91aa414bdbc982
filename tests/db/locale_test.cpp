// Files in a Japanese directory under a locale whose charset cannot hold the
// name (ctest runs this binary under LC_ALL=C, and locale_eucjp.sh under
// a generated ja_JP.eucJP): the program's start sets the
// file names' charset before the first attach, as here.
#include <clocale>
#include <cstring>
#include <filesystem>
#include <string>

#include <langinfo.h>

#include <gtest/gtest.h>

#include "db/fb.h"
#include "db_fixture.h"
#include "support/test_databases.h"

namespace fs = std::filesystem;
using namespace tolvane;
using tolvane::test::exec;
using tolvane::test::openSql;

TEST(FileNamesUnderAnyLocale, AJapaneseDirectoryOpensWhateverTheLocale) {
    // What the toolkit does at start: the locale of the environment.
    std::setlocale(LC_ALL, "");
    const bool plainC = std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0;
    EXPECT_EQ(db::useUtf8FileNames(), plainC);
    EXPECT_STREQ(nl_langinfo(CODESET), "UTF-8");
    EXPECT_FALSE(db::useUtf8FileNames());   // once is enough

    const fs::path top = test::makeTempDir();
    const test::TempDatabases tmpl(test::Files::CatchOnly);
    int key = 0;
    for (const char* dir : {"釣り 日記/2026", "釣り:日記"}) {
        SCOPED_TRACE(dir);
        fs::create_directories(top / dir);
        fs::copy_file(tmpl.catchFile(), top / dir / "SORVENDA.FDB");
        test::ScopedCurrentDir cd(top / dir);
        db::Connection c;
        c.beforeConnect = [](db::Connection& self) {
            self.databaseName = fs::current_path().string() + "/SORVENDA.FDB";
        };
        db::Transaction t(c);
        db::Query q(c, t);
        exec(q, "insert into FISH_ADDR (A00_CODENO, A02_SHOP) values (" + std::to_string(++key) +
                    ", \"釣具店\")");
        t.commitRetaining();
        openSql(q, "select A02_SHOP from FISH_ADDR");
        EXPECT_EQ(q.fields(0).asString(), "釣具店");
    }
    fs::remove_all(top);
}
