// Queries as the windows use them: named parameters and the NULL rule, new
// keys, text widths, LIKE patterns, the cursor and its bookmarks, blobs, and
// the literal helper for assembled statements.
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#if defined(__x86_64__)
#include <cpuid.h>
#endif

#include "db/fb.h"
#include "db_fixture.h"

using namespace tolvane;
using tolvane::test::CatchDb;
using tolvane::test::exec;
using tolvane::test::MemoDb;
using tolvane::test::openSql;

namespace {

void insertRecord(db::Query& q, int code, const std::string& day, const std::string& fish = "アジ") {
    q.close();
    q.sqlClear();
    q.sqlAdd("insert into FISH_DATA (CODENO, DAY_DATA, FISH1)");
    q.sqlAdd(" values (:parCODENO, :parDAY_DATA, :parFISH1)");
    q.paramByName("parCODENO").setInteger(code);
    q.paramByName("parDAY_DATA").setString(day);
    q.paramByName("parFISH1").setString(fish);
    q.execQuery();
}

void fillRecords(CatchDb& c, int count) {
    db::Query q(c.db, c.tr);
    for (int i = 1; i <= count; ++i) insertRecord(q, i, "2024/01/01");
    c.tr.commitRetaining();
}

}  // namespace

// ---------------------------------------------------------------- parameters

TEST(Params, UnsetParameterIsNullEvenWhenSetInAnEarlierUse) {
    CatchDb c;
    db::Query q(c.db, c.tr);
    const char* insert = "insert into FISH_DATA (CODENO, TENNKI, MAX1_HIGHT, SHIKAKE) "
                         "values (:parCODENO, :parTENNKI, :parMAX1_HIGHT, :parSHIKAKE)";
    q.close();
    q.sqlClear();
    q.sqlAdd(insert);
    q.paramByName("parCODENO").setInteger(1);
    q.paramByName("parTENNKI").setString("晴れ");
    q.paramByName("parMAX1_HIGHT").setInteger(150);
    q.paramByName("parSHIKAKE").setTextBlob("胴突き");
    q.execQuery();

    q.close();
    q.sqlClear();
    q.sqlAdd(insert);
    q.paramByName("parCODENO").setInteger(2);
    EXPECT_FALSE(q.paramByName("parTENNKI").isSet());
    q.execQuery();
    c.tr.commitRetaining();

    openSql(q, "select * from FISH_DATA order by CODENO");
    ASSERT_EQ(q.recordCount(), 2);
    EXPECT_EQ(q.fieldByName("TENNKI").asString(), "晴れ");
    EXPECT_EQ(q.fieldByName("MAX1_HIGHT").asInteger(), 150);
    EXPECT_EQ(q.fieldByName("SHIKAKE").asString(), "胴突き");
    q.next();
    EXPECT_EQ(q.fieldByName("CODENO").asInteger(), 2);
    EXPECT_TRUE(q.fieldByName("TENNKI").isNull());
    EXPECT_TRUE(q.fieldByName("MAX1_HIGHT").isNull());
    EXPECT_TRUE(q.fieldByName("SHIKAKE").isNull());
}

TEST(Params, ReopeningWithoutNewTextKeepsTheParameters) {
    CatchDb c;
    fillRecords(c, 3);
    db::Query q(c.db, c.tr);
    q.close();
    q.sqlClear();
    q.sqlAdd("select * from FISH_DATA where CODENO >= :parCODENO order by CODENO");
    q.paramByName(":parCODENO").setInteger(2);
    q.open();
    EXPECT_EQ(q.recordCount(), 2);
    q.close();
    q.open();   // a refresh: a search result stays a search result
    EXPECT_EQ(q.recordCount(), 2);
}

TEST(Params, OneNameAtSeveralPlacesAndNamesInsideLiteralsOrComments) {
    CatchDb c;
    db::Query q(c.db, c.tr);
    q.close();
    q.sqlClear();
    q.sqlAdd("insert into FISH_DATA (CODENO, MAX1_HIGHT, TENNKI, FUNE, BASYO, SHIO)");
    q.sqlAdd(" values (:parCODENO, :parcodeno, ':parTENNKI', \":parFUNE\", \"it\"\"s :parX\", 'a''b:parY')");
    q.sqlAdd(" /* :parZ */ -- :parW");
    q.paramByName("parCODENO").setInteger(7);
    EXPECT_THROW(q.paramByName("parTENNKI"), db::Error);
    EXPECT_THROW(q.paramByName("parX"), db::Error);
    EXPECT_THROW(q.paramByName("parZ"), db::Error);
    EXPECT_THROW(q.paramByName("parW"), db::Error);
    q.execQuery();
    openSql(q, "select * from FISH_DATA");
    ASSERT_EQ(q.recordCount(), 1);
    EXPECT_EQ(q.fieldByName("CODENO").asInteger(), 7);
    EXPECT_EQ(q.fieldByName("MAX1_HIGHT").asInteger(), 7);
    EXPECT_EQ(q.fieldByName("TENNKI").asString(), ":parTENNKI");
    EXPECT_EQ(q.fieldByName("FUNE").asString(), ":parFUNE");
    EXPECT_EQ(q.fieldByName("BASYO").asString(), "it\"s :parX");
    EXPECT_EQ(q.fieldByName("SHIO").asString(), "a'b:parY");
}

TEST(Params, IrregularNamesAreJustNames) {
    MemoDb m;
    db::Query q(m.db, m.tr);
    q.close();
    q.sqlClear();
    q.sqlAdd("insert into FISH_MEMO (CODE, BUNRUI, TURI, BASYO, M3, F_MEMO) values");
    q.sqlAdd(" (:parCODE, :parBUNRUI, :parTURI, :psrBASYO, :parMANTH, :parMEMO)");
    q.paramByName("parCODE").setInteger(1);
    q.paramByName("psrBASYO").setString("城ヶ島");
    q.paramByName("parMANTH").setInteger(1);
    q.paramByName("parMEMO").setTextBlob("メモ");
    q.execQuery();
    m.tr.commitRetaining();
    openSql(q, "select * from FISH_MEMO");
    EXPECT_EQ(q.fieldByName("BASYO").asString(), "城ヶ島");
    EXPECT_EQ(q.fieldByName("M3").asInteger(), 1);
    EXPECT_EQ(q.fieldByName("F_MEMO").asString(), "メモ");
    EXPECT_TRUE(q.fieldByName("BUNRUI").isNull());
}

TEST(Params, EmptyTextIsStoredAsEmptyNotNull) {
    CatchDb c;
    db::Query q(c.db, c.tr);
    q.close();
    q.sqlClear();
    q.sqlAdd("insert into FISH_DATA (CODENO, FISH2) values (:parCODENO, :parFISH2)");
    q.paramByName("parCODENO").setInteger(1);
    q.paramByName("parFISH2").setString("");
    q.execQuery();
    openSql(q, "select FISH2 from FISH_DATA");
    EXPECT_FALSE(q.fields(0).isNull());
    EXPECT_EQ(q.fields(0).asString(), "");
}

TEST(Params, TextIsSentAsTypedWithoutTrimming) {
    CatchDb c;
    db::Query q(c.db, c.tr);
    insertRecord(q, 1, " 2024/03/05 ", "  ");
    openSql(q, "select DAY_DATA, FISH1 from FISH_DATA");
    EXPECT_EQ(q.fields(0).asString(), " 2024/03/05 ");
    EXPECT_EQ(q.fields(1).asString(), "  ");
}

// ---------------------------------------------------------------- keys, widths, patterns

TEST(Keys, LargestPlusOneAndOneForAnEmptyTable) {
    CatchDb c;
    db::Query q(c.db, c.tr);
    EXPECT_EQ(db::nextKey(q, "select max(CODENO) from FISH_DATA"), 1);
    for (int code : {1, 2, 5}) insertRecord(q, code, "2024/01/01");
    c.tr.commitRetaining();
    EXPECT_EQ(db::nextKey(q, "select max(CODENO) from FISH_DATA"), 6);
    exec(q, "delete from FISH_DATA where CODENO = 5");
    c.tr.commitRetaining();
    EXPECT_EQ(db::nextKey(q, "select max(CODENO) from FISH_DATA"), 3);

    // The largest key a column holds leaves no next one: an error, not a wrap.
    insertRecord(q, 2147483647, "2024/01/01");
    c.tr.commitRetaining();
    EXPECT_THROW(db::nextKey(q, "select max(CODENO) from FISH_DATA"), db::Error);
}

TEST(Widths, TenFullWidthCharactersFillATwentyByteColumn) {
    CatchDb c;
    db::Query q(c.db, c.tr);
    const std::string ten = "ＡＢＣＤＥあいうえお";
    insertRecord(q, 1, "2024/01/01", ten);
    c.tr.commitRetaining();
    openSql(q, "select FISH1 from FISH_DATA");
    EXPECT_EQ(q.fields(0).asString(), ten);
    EXPECT_EQ(q.fields(0).asBytes().size(), 20u);

    try {
        insertRecord(q, 2, "2024/01/01", ten + "か");
        FAIL() << "an eleventh full-width character was stored";
    } catch (const db::Error& e) {
        const std::string text = e.what();
        EXPECT_NE(text.find("string right truncation"), std::string::npos) << text;
        EXPECT_NE(text.find('\n'), std::string::npos) << text;
    }
    c.tr.rollbackRetaining();
    EXPECT_EQ(db::nextKey(q, "select max(CODENO) from FISH_DATA"), 2);
}

TEST(Patterns, LikePatternsByPositionOnDayData) {
    CatchDb c;
    db::Query q(c.db, c.tr);
    insertRecord(q, 1, "2024/03/05");
    insertRecord(q, 2, "2023/03/15");
    insertRecord(q, 3, "2024/11/02");
    insertRecord(q, 4, "2024/3/5");   // not in the stored form: matches no pattern
    c.tr.commitRetaining();
    auto count = [&](const std::string& pattern) {
        q.close();
        q.sqlClear();
        q.sqlAdd("select count(*) from FISH_DATA where DAY_DATA like :parDAY_DATA");
        q.paramByName("parDAY_DATA").setString(pattern);
        q.open();
        return q.fields(0).asInteger();
    };
    EXPECT_EQ(count("2024______"), 2);
    EXPECT_EQ(count("_____03___"), 2);
    EXPECT_EQ(count("2024/03___"), 1);
    EXPECT_EQ(count("_____11___"), 1);
    EXPECT_EQ(count("2022______"), 0);
    openSql(q, "select min (DAY_DATA), max (DAY_DATA) from FISH_DATA where CODENO < 4");
    EXPECT_EQ(q.fields(0).asString(), "2023/03/15");
    EXPECT_EQ(q.fields(1).asString(), "2024/11/02");
}

// ---------------------------------------------------------------- conversions

TEST(Fields, NumbersAndTextReadEachOtherWay) {
    CatchDb c;
    db::Query q(c.db, c.tr);
    openSql(q, "select cast(12.25 as numeric(9,2)) as N, cast(2.5 as double precision) as D, 42 as I,"
               " '17' as T, ' -3 ' as S, 'abc' as X, cast(null as integer) as Z from rdb$database");
    EXPECT_DOUBLE_EQ(q.fieldByName("N").asFloat(), 12.25);
    EXPECT_EQ(q.fieldByName("N").asString(), "12.25");
    EXPECT_EQ(q.fieldByName("D").asString(), "2.5");
    EXPECT_EQ(q.fieldByName("I").asString(), "42");
    EXPECT_DOUBLE_EQ(q.fieldByName("I").asFloat(), 42.0);
    EXPECT_EQ(q.fieldByName("T").asInteger(), 17);
    EXPECT_EQ(q.fieldByName("S").asInteger(), -3);
    EXPECT_THROW(q.fieldByName("X").asInteger(), db::Error);
    EXPECT_TRUE(q.fieldByName("Z").isNull());
    EXPECT_EQ(q.fieldByName("Z").asInteger(), 0);
    EXPECT_EQ(q.fieldByName("Z").asString(), "");
    EXPECT_EQ(q.fieldByName("i").name(), "I");   // names are case-insensitive
    EXPECT_THROW(q.fieldByName("NOPE"), db::Error);
}

TEST(Fields, ExecQueryOnASelectOpensIt) {
    CatchDb c;
    db::Query q(c.db, c.tr);
    exec(q, " select P01_PASSWD,P02_PASSWD  from FISH_PASS where P00_CODENO = 0 ");
    EXPECT_TRUE(q.active());
    EXPECT_TRUE(q.eof());
    EXPECT_TRUE(q.fields(0).isNull());   // no row 0 yet: reads as NULL
}

// ---------------------------------------------------------------- cursor and bookmarks

TEST(Cursor, MovesClampAtTheEnds) {
    CatchDb c;
    fillRecords(c, 25);
    db::Query q(c.db, c.tr);
    openSql(q, "select * from FISH_DATA order by CODENO");
    auto code = [&] { return q.fieldByName("CODENO").asInteger(); };
    ASSERT_EQ(q.recordCount(), 25);
    EXPECT_TRUE(q.bof());
    EXPECT_EQ(code(), 1);
    q.last();
    EXPECT_EQ(code(), 25);
    EXPECT_TRUE(q.eof());
    q.next();   // "+1" on the last row shows it again
    EXPECT_EQ(code(), 25);
    q.moveBy(-10);
    EXPECT_EQ(code(), 15);
    EXPECT_FALSE(q.bof());
    EXPECT_FALSE(q.eof());
    q.moveBy(10);
    EXPECT_EQ(code(), 25);
    q.setRecNo(2);   // the third row: "-10" lands on the first
    q.moveBy(-10);
    EXPECT_EQ(code(), 1);
    EXPECT_TRUE(q.bof());
    q.prior();
    EXPECT_EQ(code(), 1);
    q.moveBy(100);
    EXPECT_EQ(code(), 25);
    EXPECT_TRUE(q.eof());
    q.first();
    EXPECT_EQ(q.recNo(), 0);

    int seen = 0;
    for (q.first(); !q.eof(); q.next()) ++seen;
    EXPECT_EQ(seen, 25);
}

TEST(Cursor, AnEmptySetReadsAsNullEverywhere) {
    CatchDb c;
    db::Query q(c.db, c.tr);
    openSql(q, "select * from FISH_DATA order by CODENO");
    EXPECT_EQ(q.recordCount(), 0);
    EXPECT_TRUE(q.bof());
    EXPECT_TRUE(q.eof());
    EXPECT_EQ(q.recNo(), -1);
    q.last();
    q.moveBy(-10);
    EXPECT_EQ(q.fieldByName("CODENO").asInteger(), 0);
    EXPECT_TRUE(q.fieldByName("SHIO_ZU").isNull());
    EXPECT_EQ(q.fieldByName("BIKOU").asString(), "");
    EXPECT_FALSE(q.getBookmark().valid());
}

TEST(Bookmarks, FindTheirRowAfterAReopenEvenWhenItMovedOrChanged) {
    CatchDb c;
    fillRecords(c, 10);
    db::Query q(c.db, c.tr);
    db::Query w(c.db, c.tr);
    openSql(q, "select * from FISH_DATA order by CODENO");
    q.setRecNo(6);
    ASSERT_EQ(q.fieldByName("CODENO").asInteger(), 7);
    db::Bookmark b = q.getBookmark();
    ASSERT_TRUE(b.valid());

    // A child window corrects the row and another row comes before it.
    exec(w, "update FISH_DATA set TENNKI = \"雨\", NEW_1_S = 12 where CODENO = 7");
    insertRecord(w, 0, "2023/12/31");
    c.tr.commitRetaining();
    q.close();
    q.open();
    q.first();
    EXPECT_TRUE(q.gotoBookmark(b));
    EXPECT_EQ(q.fieldByName("CODENO").asInteger(), 7);
    EXPECT_EQ(q.recNo(), 7);
    EXPECT_EQ(q.fieldByName("TENNKI").asString(), "雨");
    q.freeBookmark(b);
    EXPECT_FALSE(b.valid());
    EXPECT_FALSE(q.gotoBookmark(b));

    // The row is deleted: the cursor goes to the position it had.
    b = q.getBookmark();
    exec(w, "delete from FISH_DATA where CODENO = 7");
    c.tr.commitRetaining();
    q.close();
    q.open();
    EXPECT_FALSE(q.gotoBookmark(b));
    EXPECT_EQ(q.recNo(), 7);
    EXPECT_EQ(q.fieldByName("CODENO").asInteger(), 8);

    // The last row is deleted: clamped to the new last row.
    q.last();
    b = q.getBookmark();
    exec(w, "delete from FISH_DATA where CODENO = 10");
    q.close();
    q.open();
    EXPECT_FALSE(q.gotoBookmark(b));
    EXPECT_EQ(q.fieldByName("CODENO").asInteger(), 9);
}

TEST(Bookmarks, RowsWithTheSameFirstColumnAreToldApartByTheirOtherValues) {
    CatchDb c;
    db::Query w(c.db, c.tr);
    insertRecord(w, 1, "2024/01/01", "アジ");
    insertRecord(w, 1, "2024/01/01", "サバ");
    insertRecord(w, 1, "2024/01/01", "イワシ");
    db::Query q(c.db, c.tr);
    openSql(q, "select DAY_DATA, FISH1 from FISH_DATA order by FISH1");
    while (q.fieldByName("FISH1").asString() != "サバ") q.next();
    const db::Bookmark b = q.getBookmark();
    q.first();
    EXPECT_TRUE(q.gotoBookmark(b));
    EXPECT_EQ(q.fieldByName("FISH1").asString(), "サバ");
}

TEST(Observers, AreToldOfOpenMovesAndClose) {
    struct Counter : db::QueryObserver {
        int opened = 0, moved = 0, closed = 0;
        void queryOpened(db::Query&) override { ++opened; }
        void cursorMoved(db::Query&) override { ++moved; }
        void queryClosed(db::Query&) override { ++closed; }
    } counter;
    CatchDb c;
    fillRecords(c, 3);
    db::Query q(c.db, c.tr);
    q.addObserver(&counter);
    openSql(q, "select * from FISH_DATA order by CODENO");
    q.next();
    q.last();
    q.close();
    EXPECT_EQ(counter.opened, 1);
    EXPECT_EQ(counter.moved, 2);
    EXPECT_EQ(counter.closed, 1);
    q.removeObserver(&counter);
    q.open();
    EXPECT_EQ(counter.opened, 1);
}

// ---------------------------------------------------------------- blobs

namespace {
// Blocks of 256 KB and more asked of the allocator on this thread while
// counting: the blocks that hold a blob's bytes.
thread_local bool countingLarge = false;
thread_local std::size_t largeBytes = 0;
}  // namespace

void* operator new(std::size_t n) {
    if (countingLarge && n >= (std::size_t(256) << 10)) largeBytes += n;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

TEST(Blobs, APhotoIsReadIntoOneBlockOfItsLength) {
    CatchDb c;
    const std::string photo(3 * 1024 * 1024 + 12345, 'p');
    db::Query q(c.db, c.tr);
    q.close();
    q.sqlClear();
    q.sqlAdd("insert into FISH_DATA (CODENO, PHOTO1) values (1, :parPHOTO1)");
    q.paramByName("parPHOTO1").setBlob(photo);
    q.execQuery();
    c.tr.commitRetaining();
    openSql(q, "select CODENO, PHOTO1 from FISH_DATA");
    largeBytes = 0;
    countingLarge = true;
    const std::string read = q.fieldByName("PHOTO1").asBytes();   // the blob's block, then the copy handed out
    countingLarge = false;
    EXPECT_EQ(read, photo);
    EXPECT_LT(largeBytes, 5 * photo.size() / 2);
    // Taken, the block read is handed over itself, and asked again it is read again.
    openSql(q, "select CODENO, PHOTO1 from FISH_DATA");
    largeBytes = 0;
    countingLarge = true;
    const std::string taken = q.fieldByName("PHOTO1").takeBytes();
    countingLarge = false;
    EXPECT_EQ(taken, photo);
    EXPECT_LT(largeBytes, 3 * photo.size() / 2);
    EXPECT_EQ(q.fieldByName("PHOTO1").asBytes(), photo);
}

TEST(Blobs, BinaryTextEmptyAndNull) {
    CatchDb c;
    std::string photo(5 * 1024 * 1024, '\0');
    std::mt19937 rng(42);
    for (char& ch : photo) ch = static_cast<char>(rng());
    const std::string text = "一行目\r\n二行目\r\n\r\nlast";

    db::Query q(c.db, c.tr);
    q.close();
    q.sqlClear();
    q.sqlAdd("insert into FISH_DATA (CODENO, PHOTO1, PHOTO2, BIKOU, SHIKAKE)");
    q.sqlAdd(" values (:parCODENO, :parPHOTO1, :parPHOTO2, :parBIKOU, :parSHIKAKE)");
    q.paramByName("parCODENO").setInteger(1);
    q.paramByName("parPHOTO1").setBlob(photo);
    q.paramByName("parPHOTO2").setBlob("");
    q.paramByName("parBIKOU").setTextBlob(text);
    q.paramByName("parSHIKAKE").setTextBlob("");
    q.execQuery();
    c.tr.commitRetaining();

    openSql(q, "select * from FISH_DATA order by CODENO");
    EXPECT_TRUE(q.fieldByName("PHOTO1").isBlob());
    EXPECT_EQ(q.fieldByName("PHOTO1").asBytes(), photo);
    EXPECT_FALSE(q.fieldByName("PHOTO2").isNull());   // zero length is not NULL
    EXPECT_EQ(q.fieldByName("PHOTO2").asBytes(), "");
    EXPECT_TRUE(q.fieldByName("PHOTO3").isNull());
    EXPECT_EQ(q.fieldByName("PHOTO3").asBytes(), "");
    EXPECT_EQ(q.fieldByName("BIKOU").asString(), text);
    EXPECT_FALSE(q.fieldByName("SHIKAKE").isNull());
    EXPECT_EQ(q.fieldByName("SHIKAKE").asString(), "");
}

TEST(Blobs, EachRowReadsItsOwnBlob) {
    CatchDb c;
    db::Query w(c.db, c.tr);
    for (int i = 1; i <= 3; ++i) {
        w.close();
        w.sqlClear();
        w.sqlAdd("insert into FISH_DATA (CODENO, CHIZU) values (:parCODENO, :parCHIZU)");
        w.paramByName("parCODENO").setInteger(i);
        if (i != 2) w.paramByName("parCHIZU").setBlob(std::string(1000 * i, static_cast<char>('a' + i)));
        w.execQuery();
    }
    c.tr.commitRetaining();
    db::Query q(c.db, c.tr);
    openSql(q, "select CODENO, CHIZU from FISH_DATA order by CODENO");
    q.last();
    EXPECT_EQ(q.fieldByName("CHIZU").asBytes(), std::string(3000, 'd'));
    q.prior();
    EXPECT_TRUE(q.fieldByName("CHIZU").isNull());
    q.first();
    EXPECT_EQ(q.fieldByName("CHIZU").asBytes(), std::string(1000, 'b'));
}

#if defined(__x86_64__)
namespace {

// Whether XGETBV with ECX=1 tells which register states are in use.
bool canTellUpperHalves() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    return __builtin_cpu_supports("avx") && __get_cpuid_count(0xD, 1, &a, &b, &c, &d) && (a & 4);
}

bool upperHalvesInUse() {
    unsigned lo = 0, hi = 0;
    asm volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(1));
    return lo & 4;
}

// As text shaping in the window layer leaves them: a 256-bit register set
// (written in assembly, so the compiler adds no clearing of its own).
void useUpperHalves() {
    asm volatile("vpcmpeqd %%ymm0, %%ymm0, %%ymm0" ::: "xmm0");
}

}  // namespace

// The engine's SSE code runs far slower while the upper halves of the AVX
// registers are in use: a statement and a blob read start with them clear.
TEST(Blobs, StatementsAndBlobReadsLeaveTheAvxUpperHalvesClear) {
    if (!canTellUpperHalves()) GTEST_SKIP() << "no AVX, or its register use cannot be read";
    CatchDb c;
    db::Query q(c.db, c.tr);
    exec(q, "insert into FISH_DATA (CODENO, BIKOU) values (1, 'memo')");
    useUpperHalves();
    if (!upperHalvesInUse()) GTEST_SKIP() << "the processor reports no upper halves in use";
    openSql(q, "select * from FISH_DATA");
    EXPECT_FALSE(upperHalvesInUse());
    useUpperHalves();
    const std::string memo = q.fieldByName("BIKOU").asString();
    EXPECT_FALSE(upperHalvesInUse());
    EXPECT_EQ(memo, "memo");
}
#endif

// ---------------------------------------------------------------- assembled statements

TEST(Quoted, DoublesAnEmbeddedQuoteSoTheValueIsStoredAsTyped) {
    EXPECT_EQ(db::quoted("アジ"), "\"アジ\"");
    EXPECT_EQ(db::quoted("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(db::quoted(""), "\"\"");

    MemoDb m;
    db::Query q(m.db, m.tr);
    exec(q, "insert into FISH_MEMO (CODE, FISH1) values (1, \"x\")");
    const std::string value = "19\" ルアー 'ミノー'";
    exec(q, "update FISH_MEMO set FISH1 = " + db::quoted(value) + " where CODE = 1");
    m.tr.commitRetaining();
    openSql(q, "select FISH1 from FISH_MEMO where FISH1 = " + db::quoted(value));
    ASSERT_EQ(q.recordCount(), 1);
    EXPECT_EQ(q.fields(0).asString(), value);
}

TEST(Quoted, AValueCp932CannotHoldFailsTheStatementAndNamesTheCharacter) {
    MemoDb m;
    db::Query q(m.db, m.tr);
    try {
        exec(q, "insert into SYURUI (SYURUI) values (" + db::quoted("🐟") + ")");
        FAIL() << "stored a character Shift-JIS cannot hold";
    } catch (const db::EncodingError& e) {
        EXPECT_NE(std::string(e.what()).find("🐟"), std::string::npos) << e.what();
    }
    try {
        q.close();
        q.sqlClear();
        q.sqlAdd("insert into SYURUI (SYURUI) values (:parSYURUI)");
        q.paramByName("parSYURUI").setString("鯛😀");
        FAIL() << "accepted a character Shift-JIS cannot hold";
    } catch (const db::Error& e) {   // an EncodingError is caught as an Error
        EXPECT_NE(std::string(e.what()).find("U+1F600"), std::string::npos) << e.what();
    }
    openSql(q, "select count(*) from SYURUI");
    EXPECT_EQ(q.fields(0).asInteger(), 0);
}
