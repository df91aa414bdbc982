// The data module: two connections closed at start, each pointed by its
// hook at its file in the current directory of the moment it attaches.
#include <string>

#include <gtest/gtest.h>

#include "core/DM_1.h"
#include "support/test_databases.h"

using namespace tolvane;

namespace {

struct DataModule {
    DataModule() { createDataModule(); }
    ~DataModule() { freeDataModule(); }
};

void openSql(db::Query& q, const std::string& sql) {
    q.close();
    q.sqlClear();
    q.sqlAdd(sql);
    q.open();
}

}  // namespace

TEST(DataModule, NothingIsAttachedUntilAQueryRuns) {
    test::TempDatabases files;
    test::ScopedCurrentDir cd(files.dir());
    DataModule dm;
    ASSERT_NE(DM1, nullptr);
    EXPECT_FALSE(DM1->IBDB1.connected());
    EXPECT_FALSE(DM1->IBDB2.connected());
    EXPECT_FALSE(DM1->IBTr1.active());
    EXPECT_FALSE(DM1->IBTr2.active());

    db::Query settings(DM1->IBDB2, DM1->IBTr2);
    openSql(settings, " select P01_PASSWD,P02_PASSWD  from FISH_PASS where P00_CODENO = 0 ");
    EXPECT_TRUE(DM1->IBDB2.connected());
    EXPECT_FALSE(DM1->IBDB1.connected());
    EXPECT_EQ(DM1->IBDB2.databaseName, files.catchFile());

    db::Query memo(DM1->IBDB1, DM1->IBTr1);
    openSql(memo, "select * from SYURUI");
    EXPECT_TRUE(DM1->IBDB1.connected());
    EXPECT_EQ(DM1->IBDB1.databaseName, files.memoFile());
}

TEST(DataModule, OnlyTheCatchFilePresentLeavesTheMemoConnectionClosed) {
    test::TempDatabases files(test::Files::CatchOnly);
    test::ScopedCurrentDir cd(files.dir());
    DataModule dm;
    db::Query settings(DM1->IBDB2, DM1->IBTr2);
    openSql(settings, "select * from FISH_PASS");
    db::Query probe(DM1->IBDB1, DM1->IBTr1);
    EXPECT_THROW(openSql(probe, "select * from FISH_KADAI"), db::Error);
    EXPECT_FALSE(DM1->IBDB1.connected());

    // The file appears; the next query attaches it.
    files.addMemoFile();
    openSql(probe, "select * from SYURUI");
    EXPECT_TRUE(DM1->IBDB1.connected());
}

TEST(DataModule, HooksJoinTheCurrentDirectoryAndTheFileName) {
    DataModule dm;
    {
        test::ScopedCurrentDir cd("/");
        DM1->IBDB1BeforeConnect(DM1->IBDB1);
        DM1->IBDB2BeforeConnect(DM1->IBDB2);
        // Plain concatenation: the root gives a doubled separator.
        EXPECT_EQ(DM1->IBDB1.databaseName, "//KELDMARK.FDB");
        EXPECT_EQ(DM1->IBDB2.databaseName, "//SORVENDA.FDB");
    }
    test::TempDatabases files(test::Files::None);
    test::ScopedCurrentDir cd(files.dir());
    DM1->IBDB2BeforeConnect(DM1->IBDB2);
    EXPECT_EQ(DM1->IBDB2.databaseName, files.dir().string() + "/SORVENDA.FDB");
}
