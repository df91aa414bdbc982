// The lesson entry window driven as a user would on fresh database files:
// the number, the row read back column by column, the refusals and failed
// writes, a missing lessons table before and after it is created.
#include <gtest/gtest.h>

#include "core/messages.h"
#include "lessons/Kadai_In_F.h"
#include "lessons_fixture.h"
#include "ui/testing/driver.h"

using namespace tolvane;
using lessonstest::Session;
using lessonstest::storedLessons;
using tolvane::ui::testing::Driver;

namespace {

// The hand-over of a record dated in March, as the openers set it.
void handOverMarchTrip() {
    KadaiMode = 1;
    KadaiPlace = "城ヶ島";
    KadaiFish = "メジナ";
    KadaiMonth = "3";
    KadaiPapaNo = 7;
}

// Opens the entry window from a stand-in opener and runs `script` in it.
void openEntry(Driver& drv, const std::function<void(TKadai_InF&)>& script) {
    ui::Form owner(nullptr, "FishDataIn");
    drv.show(owner);
    drv.expectModal<TKadai_InF>([&](TKadai_InF& f) {
        EXPECT_EQ(Kadai_InF, &f);
        script(f);
    });
    ui::openModal(Kadai_InF, &owner);
    EXPECT_EQ(Kadai_InF, nullptr);
}

}  // namespace

TEST(LessonEntry, AnEmptyTableGivesOneAndTheRowHoldsTheHandOverValues) {
    Session s;
    Driver drv;
    handOverMarchTrip();
    openEntry(drv, [&](TKadai_InF& f) {
        EXPECT_EQ(f.caption(), "次回への課題");
        EXPECT_EQ(f.width(), 640);
        EXPECT_EQ(f.height(), 480);
        EXPECT_EQ(f.Label1->caption(), "次回以降の釣行時への課題");
        EXPECT_EQ(f.Label_No->caption(), "1");
        EXPECT_TRUE(f.Btn_In->isEnabled());
        EXPECT_EQ(f.Edit_Place->text(), "城ヶ島");
        EXPECT_EQ(f.Edit_Fish->text(), "メジナ");
        EXPECT_EQ(f.Edit_Tuki->text(), " 3 月");
        EXPECT_TRUE(f.Edit_Place->isReadOnly());
        EXPECT_FALSE(f.Edit_Tuki->isReadOnly());
        EXPECT_TRUE(f.Memo1->focused());
        EXPECT_EQ(f.Memo1->imeMode(), ui::ImeMode::Hiragana);
        // The month box is never read back.
        drv.type(f.Edit_Tuki, "12");
        drv.typeIme(f.Memo1, "朝マズメは");
        drv.pressEnter(f.Memo1);
        drv.typeIme(f.Memo1, "潮上に投げる");
        drv.click(f.Btn_In);
        EXPECT_FALSE(f.isOpen());
    });
    const auto rows = storedLessons(s.files.memoFile());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].no, 1);
    EXPECT_EQ(rows[0].papaNo, 7);
    EXPECT_EQ(rows[0].fish, "メジナ");
    EXPECT_EQ(rows[0].place, "城ヶ島");
    EXPECT_EQ(rows[0].month, "3");
    EXPECT_EQ(rows[0].memo, "朝マズメは\r\n潮上に投げる");
    EXPECT_EQ(KadaiMode, 1);
}

TEST(LessonEntry, TheNumberFollowsTheLargestStoredAndOnlyAnEmptyTextIsRefused) {
    Session s;
    for (int no : {1, 2, 5}) lessonstest::plantLesson(s.files.memoFile(), no, "アジ", "東京湾", "10");
    Driver drv;
    handOverMarchTrip();
    openEntry(drv, [&](TKadai_InF& f) {
        EXPECT_EQ(f.Label_No->caption(), "6");
        drv.click(f.Btn_In);
        EXPECT_EQ(drv.takeMessages(), QStringList{"データが未入力です"});
        EXPECT_TRUE(f.isOpen());
        drv.type(f.Memo1, "  ");
        drv.click(f.Btn_In);
        EXPECT_FALSE(f.isOpen());
    });
    openEntry(drv, [&](TKadai_InF& f) {
        EXPECT_EQ(f.Label_No->caption(), "7");
        EXPECT_EQ(f.Memo1->text(), "");   // emptied for each lesson
        drv.pressEnter(f.Memo1);
        drv.click(f.Btn_In);
    });
    const auto rows = storedLessons(s.files.memoFile());
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[3].no, 6);
    EXPECT_EQ(rows[3].memo, "  ");
    EXPECT_EQ(rows[4].no, 7);
    EXPECT_EQ(rows[4].memo, "\r\n");
}

TEST(LessonEntry, ReturnStoresNothingAndOutsideEntryModeTheWindowOnlyShows) {
    Session s;
    Driver drv;
    handOverMarchTrip();
    openEntry(drv, [&](TKadai_InF& f) {
        drv.typeIme(f.Memo1, "書きかけ");
        drv.click(f.Btn_Return);
    });
    KadaiMode = 0;
    openEntry(drv, [&](TKadai_InF& f) {
        EXPECT_FALSE(f.Btn_In->isEnabled());
        EXPECT_EQ(f.Label_No->caption(), "");
        EXPECT_EQ(f.Edit_Fish->text(), "メジナ");
        drv.closeByTitleBar(f);
    });
    EXPECT_TRUE(storedLessons(s.files.memoFile()).empty());
}

TEST(LessonEntry, AFailedWriteShowsTheServersTextKeepsTheTextAndRetriesUnderTheSameNumber) {
    Session s;
    Driver drv;
    handOverMarchTrip();
    KadaiPlace = QString(41, QChar('x'));   // over the 40 bytes of K02_PLACE
    openEntry(drv, [&](TKadai_InF& f) {
        drv.typeIme(f.Memo1, "ハリスを細く");
        drv.click(f.Btn_In);
        QStringList msgs = drv.takeMessages();
        ASSERT_EQ(msgs.size(), 1);
        EXPECT_TRUE(msgs[0].contains("truncation")) << msgs[0].toStdString();
        EXPECT_TRUE(f.isOpen());
        EXPECT_EQ(f.Memo1->text(), "ハリスを細く");
        EXPECT_TRUE(storedLessons(s.files.memoFile()).empty());

        // A character Shift-JIS cannot hold is named with its box; the place
        // and fish come typed from the catch windows.
        KadaiPlace = "城ヶ島𩸽";
        drv.click(f.Btn_In);
        EXPECT_EQ(drv.takeMessages(), QStringList{"入力に失敗しました\n「場所」の「𩸽」は登録できない文字です"});
        KadaiPlace = "城ヶ島";
        drv.typeIme(f.Memo1, "𠮷");
        drv.click(f.Btn_In);
        EXPECT_EQ(drv.takeMessages(), QStringList{"入力に失敗しました\n「課題」の「𠮷」は登録できない文字です"});
        EXPECT_TRUE(f.isOpen());
        EXPECT_EQ(f.Memo1->text(), "ハリスを細く𠮷");
        EXPECT_TRUE(storedLessons(s.files.memoFile()).empty());

        f.Memo1->setText("ハリスを細く");
        drv.click(f.Btn_In);
        EXPECT_FALSE(f.isOpen());
    });
    const auto rows = storedLessons(s.files.memoFile());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].no, 1);
    EXPECT_EQ(rows[0].place, "城ヶ島");
    EXPECT_EQ(rows[0].memo, "ハリスを細く");
}

TEST(LessonEntry, WithoutTheTableItSaysSoStoresNothingAndServesOnceTheTableIsCreatedInTheRun) {
    Session s(false);
    Driver drv;
    handOverMarchTrip();
    openEntry(drv, [&](TKadai_InF& f) {
        EXPECT_EQ(drv.takeMessages(), QStringList{KadaiTableMissingMessage});
        EXPECT_FALSE(f.Btn_In->isEnabled());
        EXPECT_EQ(f.Label_No->caption(), "");
        EXPECT_EQ(f.Edit_Place->text(), "城ヶ島");
        EXPECT_EQ(f.Edit_Tuki->text(), " 3 月");
        drv.typeIme(f.Memo1, "書いても");
        drv.click(f.Btn_In);   // disabled: nothing happens
        EXPECT_TRUE(f.isOpen());
        drv.click(f.Btn_Return);
    });

    // Created on the program's own memo transaction, as the maintenance
    // window does, the table serves the next opening of the same run.
    {
        db::Query q(DM1->IBDB1, DM1->IBTr1);
        q.sqlAdd(test::kCreateKadaiSql);
        q.execQuery();
        DM1->IBTr1.commitRetaining();
    }
    openEntry(drv, [&](TKadai_InF& f) {
        EXPECT_EQ(f.Label_No->caption(), "1");
        drv.typeIme(f.Memo1, "今度こそ");
        drv.click(f.Btn_In);
        EXPECT_FALSE(f.isOpen());
    });
    const auto rows = storedLessons(s.files.memoFile());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].memo, "今度こそ");
}
