// Files in a Japanese directory under a locale whose charset cannot hold the
// name (ctest runs this binary under LC_ALL=C, under a locale that was never
// generated, and locale_eucjp.sh under a generated ja_JP.eucJP): the test
// main settles the environment before any thread starts, as the program's
// start does, and the toolkit's own setlocale(LC_ALL, "") comes to the same.
#include <clocale>
#include <cstring>
#include <filesystem>
#include <string>

#include <langinfo.h>
#include <locale.h>

#include <gtest/gtest.h>

#include "db/fb.h"
#include "db_fixture.h"
#include "support/test_databases.h"

namespace fs = std::filesystem;
using namespace tolvane;
using tolvane::test::exec;
using tolvane::test::openSql;

TEST(FileNamesUnderAnyLocale, AJapaneseDirectoryOpensWhateverTheLocale) {
    EXPECT_STREQ(nl_langinfo(CODESET), "UTF-8");
    EXPECT_STREQ(std::setlocale(LC_CTYPE, nullptr), "C.UTF-8");
    // Every other category keeps the user's locale (LANG, as LC_ALL in every
    // run), or C's where it was never generated.
    const char* lang = std::getenv("LANG");
    ASSERT_NE(lang, nullptr);
    const locale_t users = newlocale(LC_ALL_MASK, lang, nullptr);
    const char* kept = users != nullptr ? lang : "C.UTF-8";
    EXPECT_STREQ(std::setlocale(LC_COLLATE, nullptr), kept);
    EXPECT_STREQ(std::setlocale(LC_MESSAGES, nullptr), kept);
    if (users != nullptr) freelocale(users);

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
