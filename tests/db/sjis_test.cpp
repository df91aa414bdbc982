// UTF-8 <-> Shift-JIS (CP932) at the boundary, and through a text column.
#include <string>

#include <gtest/gtest.h>

#include "db/fb.h"
#include "db_fixture.h"

using namespace tolvane;
using tolvane::test::CatchDb;
using tolvane::test::openSql;

TEST(ShiftJis, FullWidthAndCp932CharactersRoundTrip) {
    const std::string text = "ＡＢＣ　１２３　アジ（真鯵）～∥－￠￡￢①Ⅱ㈱髙﨑ｱｼﾞ";
    const std::string sjis = db::toShiftJis(text);
    EXPECT_EQ(db::fromShiftJis(sjis), text);
    EXPECT_EQ(db::toShiftJis("ＡＢ"), "\x82\x60\x82\x61");
    EXPECT_EQ(db::toShiftJis("abc\r\n"), "abc\r\n");
}

TEST(ShiftJis, JisFormsAreStoredAsTheirCp932Counterparts) {
    // What input methods on Linux type, and what CP932 reads back.
    const struct {
        const char* jis;
        const char* cp932;
        const char* bytes;
    } pairs[] = {
        {"〜", "～", "\x81\x60"},   // U+301C / U+FF5E
        {"‖", "∥", "\x81\x61"},    // U+2016 / U+2225
        {"−", "－", "\x81\x7c"},    // U+2212 / U+FF0D
        {"¢", "￠", "\x81\x91"},    // U+00A2 / U+FFE0
        {"£", "￡", "\x81\x92"},    // U+00A3 / U+FFE1
        {"¬", "￢", "\x81\xca"},    // U+00AC / U+FFE2
        {"—", "―", "\x81\x5c"},    // U+2014 / U+2015
        {"¦", "￤", "\xfa\x55"},    // U+00A6 / U+FFE4
    };
    for (const auto& p : pairs) {
        EXPECT_EQ(db::toShiftJis(p.jis), p.bytes) << p.jis;
        EXPECT_EQ(db::toShiftJis(p.cp932), p.bytes) << p.cp932;
        EXPECT_EQ(db::fromShiftJis(p.bytes), p.cp932) << p.jis;
    }
    EXPECT_EQ(db::fromShiftJis(db::toShiftJis("10時〜12時")), "10時～12時");
}

TEST(ShiftJis, UnmappableCharacterIsReportedNeverDropped) {
    for (const std::string bad : {"アジ🐟", "한글", "é"}) {
        try {
            db::toShiftJis("x" + bad + "y");
            FAIL() << bad << " was converted";
        } catch (const db::EncodingError& e) {
            const std::string msg = e.what();
            EXPECT_NE(msg.find("U+"), std::string::npos) << msg;
        }
    }
    try {
        db::toShiftJis("アジ🐟");
    } catch (const db::EncodingError& e) {
        EXPECT_NE(std::string(e.what()).find("\"🐟\" (U+1F41F)"), std::string::npos) << e.what();
    }
    EXPECT_THROW(db::toShiftJis("\xff\xfe"), db::EncodingError);      // not UTF-8
    EXPECT_THROW(db::toShiftJis("\xc0\xaf"), db::EncodingError);      // overlong
    EXPECT_THROW(db::fromShiftJis("\x82"), db::EncodingError);        // half a character
    EXPECT_THROW(db::fromShiftJis("\x81\x20"), db::EncodingError);    // no such character
}

TEST(ShiftJis, TextTravelsAsShiftJisBytesThroughTheDatabase) {
    CatchDb c;
    db::Query q(c.db, c.tr);
    q.close();
    q.sqlClear();
    q.sqlAdd("insert into FISH_DATA (CODENO, FISH1, BIKOU) values (1, :parFISH1, :parBIKOU)");
    q.paramByName("parFISH1").setString("メバル〜カサゴ");
    q.paramByName("parBIKOU").setTextBlob("潮　〜　風\r\n①②");
    q.execQuery();
    c.tr.commitRetaining();
    openSql(q, "select FISH1, BIKOU from FISH_DATA where FISH1 = \"メバル～カサゴ\"");
    ASSERT_EQ(q.recordCount(), 1);
    EXPECT_EQ(q.fields(0).asBytes(), db::toShiftJis("メバル～カサゴ"));
    EXPECT_EQ(q.fields(0).asString(), "メバル～カサゴ");
    EXPECT_EQ(q.fields(1).asString(), "潮　～　風\r\n①②");
}
