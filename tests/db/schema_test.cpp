// The two database files made by scripts/create-databases.sh from schema/:
// dialect 1, the tables and their columns in the order the statements rely
// on, and the address kinds in the order the address list assumes.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "db_fixture.h"

using namespace tolvane;
using namespace tolvane::test;

namespace {

// The first column of every row of `sql`, its blank padding removed.
std::vector<std::string> names(db::Query& q, const std::string& sql) {
    openSql(q, sql);
    std::vector<std::string> result;
    for (; !q.eof(); q.next()) {
        std::string n = q.fields(0).asString();
        n.erase(n.find_last_not_of(' ') + 1);
        result.push_back(n);
    }
    return result;
}

std::vector<std::string> columns(db::Query& q, const std::string& table) {
    return names(q, "select rdb$field_name from rdb$relation_fields where rdb$relation_name = \"" +
                        table + "\" order by rdb$field_position");
}

std::vector<std::string> tables(db::Query& q) {
    return names(q, "select rdb$relation_name from rdb$relations where rdb$system_flag = 0 "
                    "order by rdb$relation_name");
}

}  // namespace

TEST(Schema, CatchDatabaseHoldsItsFourTablesInDialectOne) {
    CatchDb c;
    db::Query q(c.db, c.tr);
    openSql(q, "select mon$sql_dialect from mon$database");
    EXPECT_EQ(q.fields(0).asInteger(), 1);
    EXPECT_EQ(tables(q), (std::vector<std::string>{"FISH_ADDR", "FISH_DATA", "FISH_PASS", "SYUBETU"}));

    const auto data = columns(q, "FISH_DATA");
    ASSERT_EQ(data.size(), 65u);
    const std::vector<std::string> head{"CODENO", "DAY_DATA", "TENNKI", "FUNE", "BASYO", "SHIO",
                                        "KIJYUNN", "KYUUREKI", "OLD_SHIO", "MAX1", "MAX2",
                                        "MAX1_HIGHT", "MAX2_HIGHT", "MIN1", "MIN2", "MIN1_LOW",
                                        "MIN2_LOW", "FISH1"};
    EXPECT_EQ(std::vector<std::string>(data.begin(), data.begin() + head.size()), head);
    EXPECT_EQ(data[29], "SHIKAKE");
    EXPECT_EQ(data[31], "SHIO_ZU");
    EXPECT_EQ(data[36], "PHOTO4");
    EXPECT_EQ(data[37], "NEW_1_S");
    EXPECT_EQ(data[56], "TIME2_H");
    EXPECT_EQ(data[57], "TIME1_START");
    EXPECT_EQ(data[64], "TIME3_H");

    EXPECT_EQ(columns(q, "FISH_ADDR"),
              (std::vector<std::string>{"A00_CODENO", "A01_SYBETU", "A02_SHOP", "A03_NAME", "A04_TEL",
                                        "A05_FAX", "A06_MOBILE", "A07_ADDR1", "A08_ADDR2", "A10_WWW",
                                        "A11_MEMO"}));
    EXPECT_EQ(columns(q, "FISH_PASS"),
              (std::vector<std::string>{"P00_CODENO", "P01_PASSWD", "P02_PASSWD"}));

    openSql(q, "select count(*) from FISH_PASS");
    EXPECT_EQ(q.fields(0).asInteger(), 0);
    openSql(q, "select S01_SYUBETU from SYUBETU order by S00_NO");
    std::vector<std::string> kinds;
    for (; !q.eof(); q.next()) kinds.push_back(q.fields(0).asString());
    EXPECT_EQ(kinds, (std::vector<std::string>{"----", "SHOP", "釣り船", "渡　船", "個　人"}));
}

TEST(Schema, MemoDatabaseHasNoLessonsTableUntilTheProgramCreatesIt) {
    MemoDb m;
    db::Query q(m.db, m.tr);
    EXPECT_EQ(tables(q), (std::vector<std::string>{"FISH_MEMO", "SYURUI"}));
    const auto memo = columns(q, "FISH_MEMO");
    ASSERT_EQ(memo.size(), 31u);
    EXPECT_EQ(memo.front(), "CODE");
    EXPECT_EQ(memo[4], "BUNRUI");
    EXPECT_EQ(memo[5], "M1");
    EXPECT_EQ(memo[16], "M12");
    EXPECT_EQ(memo[17], "F_MEMO");
    EXPECT_EQ(memo[28], "F_PHOTO9");
    EXPECT_EQ(memo[29], "TURI");
    EXPECT_EQ(memo.back(), "BASYO");
    EXPECT_EQ(columns(q, "SYURUI"), std::vector<std::string>{"SYURUI"});
}
