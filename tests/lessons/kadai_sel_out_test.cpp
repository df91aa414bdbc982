// The lesson search dialog and the display window, alone and chained from
// the main window: refusals, captions, a cancelled search, every mask on a
// seeded table, no match, a missing table and the correction of a lesson.
#include <QLineEdit>
#include <gtest/gtest.h>

#include "app/Main_F.h"
#include "lessons/Kadai_Out_F.h"
#include "lessons/Kadai_Sel_F.h"
#include "lessons_fixture.h"
#include "ui/testing/driver.h"

using namespace tolvane;
using lessonstest::Session;
using lessonstest::plantLesson;
using lessonstest::storedLessons;
using tolvane::ui::testing::Driver;

namespace {

// Ticks or clears a check box by its square, as a user does.
void tick(Driver& drv, ui::CheckBox* b) { drv.click(b, QPoint(6, b->height() / 2)); }

// Chooses entry `i` of a list box as a user does.
void choose(ui::ComboBox* b, int i) {
    b->setCurrentIndex(i);
    emit b->activated(i);
}

const QString kGo = QStringLiteral("\rの条件で検索します");

// Lessons 1..7: fish, place, month.
void seed(const Session& s) {
    const auto f = s.files.memoFile();
    plantLesson(f, 1, "メジナ", "城ヶ島", "3");
    plantLesson(f, 2, "アジ", "城ヶ島", "10");
    plantLesson(f, 3, "メジナ", "剱崎", "3");
    plantLesson(f, 4, "メジナ", "城ヶ島", "1");
    plantLesson(f, 5, "メジナ", "城ヶ島", "12");
    plantLesson(f, 6, "アジ", "剱崎", "3");
    plantLesson(f, 7, "メジナ", "城ヶ島", "3");
}

// The number of the lesson shown, from its text "課題<n>"; 0 for none.
int shown(TKadai_OutF& f) {
    const QString t = f.Memo1->text();
    return t.startsWith("課題") ? t.mid(2).toInt() : 0;
}

// Opens the display for a search already handed over and returns the
// lessons it shows, newest first, stepping back with "－１" to the oldest.
std::vector<int> display(Driver& drv, int mask, const QString& fish, const QString& month,
                         const QString& place) {
    KadaiMode = 0;
    KadaiMask = mask;
    SearchFish = fish;
    SearchMonth = month;
    SearchPlace = place;
    std::vector<int> seen;
    ui::Form owner(nullptr, "MainF");
    drv.show(owner);
    drv.expectModal<TKadai_OutF>([&](TKadai_OutF& f) {
        for (int guard = 0; guard < 20; ++guard) {
            const int n = shown(f);
            if (!seen.empty() && seen.back() == n) break;
            seen.push_back(n);
            drv.click(f.Btn_Prior);
        }
        drv.click(f.Btn_Return);
    });
    ui::openModal(Kadai_OutF, &owner);
    return seen;
}

}  // namespace

TEST(LessonSearch, StartsEmptyListsTheCatchTableAndRefusesMissingValues) {
    Session s;
    test::runSql(s.files.catchFile(),
                 {"insert into FISH_DATA (CODENO, FISH1, FISH2, BASYO) values (1, 'メジナ', 'アジ', '城ヶ島')",
                  "insert into FISH_DATA (CODENO, FISH1, BASYO) values (2, 'メジナ', '剱崎')"});
    Driver drv;
    SearchFish = "前の検索";
    KadaiMask = 5;
    TKadai_SelF f(nullptr);
    drv.show(f);
    EXPECT_EQ(f.caption(), "釣行時の課題を選択");
    EXPECT_EQ(KadaiMask, 0);
    EXPECT_EQ(SearchFish, "");
    EXPECT_EQ(f.Btn_Kensaku_Go->caption(), "検索条件");
    EXPECT_FALSE(f.CBox_Fish->isEnabled());
    EXPECT_FALSE(f.CBox_Basyo->isEnabled());
    for (auto* b : f.monthButtons) EXPECT_FALSE(b->isEnabled());
    EXPECT_EQ(f.monthButtons[9]->name(), "Btn_M10");
    // The species of the three columns; the NULL of the empty ones first.
    EXPECT_EQ(f.CBox_Fish->itemCount(), 3);
    EXPECT_EQ(f.CBox_Fish->itemText(0), "");
    EXPECT_EQ(f.CBox_Fish->itemText(2), "メジナ");
    EXPECT_EQ(f.CBox_Fish->itemIndex(), 0);
    EXPECT_EQ(f.CBox_Basyo->itemCount(), 2);

    drv.click(f.Btn_Kensaku_Go);   // nothing ticked
    EXPECT_EQ(drv.takeMessages(), QStringList{"条件が入っていません"});

    // Fish ticked: the list shows its first entry, but nothing was chosen.
    tick(drv, f.Chk_Box_Fish);
    EXPECT_TRUE(f.CBox_Fish->isEnabled());
    EXPECT_EQ(KadaiMask, 1);
    EXPECT_EQ(f.Btn_Kensaku_Go->caption(), "\"\"" + kGo);
    drv.click(f.Btn_Kensaku_Go);
    EXPECT_EQ(drv.takeMessages(), QStringList{"条件が入っていません"});

    // Fish and month, a month but no fish.
    tick(drv, f.Chk_Box_Tuki);
    EXPECT_TRUE(f.monthButtons[0]->isEnabled());
    drv.click(f.monthButtons[2]);
    EXPECT_EQ(SearchMonth, "3");
    EXPECT_EQ(f.Btn_Kensaku_Go->caption(), "\"\" \"3 月\"" + kGo);
    drv.click(f.Btn_Kensaku_Go);
    EXPECT_EQ(drv.takeMessages(), QStringList{"条件が入っていません"});

    // Clearing boxes removes their bits and values.
    tick(drv, f.Chk_Box_Fish);
    EXPECT_EQ(f.CBox_Fish->itemIndex(), -1);
    drv.click(f.monthButtons[4]);
    EXPECT_EQ(SearchMonth, "5");
    tick(drv, f.Chk_Box_Tuki);
    EXPECT_EQ(KadaiMask, 0);
    EXPECT_EQ(SearchMonth, "");
    EXPECT_EQ(f.Btn_Kensaku_Go->caption(), "検索条件");
    drv.click(f.Btn_Kensaku_Go);
    EXPECT_EQ(drv.takeMessages(), QStringList{"条件が入っていません"});
    EXPECT_TRUE(f.isOpen());
    drv.closeByTitleBar(f);
}

TEST(LessonSearch, CaptionsFollowTheConditionsAndTypedTextIsTheValue) {
    Session s;
    test::runSql(s.files.catchFile(),
                 {"insert into FISH_DATA (CODENO, FISH1, BASYO) values (1, 'メジナ', '城ヶ島')"});
    Driver drv;
    TKadai_SelF f(nullptr);
    drv.show(f);
    tick(drv, f.Chk_Box_Fish);
    choose(f.CBox_Fish, 1);
    EXPECT_EQ(SearchFish, "メジナ");
    EXPECT_EQ(f.Btn_Kensaku_Go->caption(), "\"メジナ\"" + kGo);

    tick(drv, f.Chk_Box_Tuki);
    drv.click(f.monthButtons[11]);
    EXPECT_EQ(f.Btn_Kensaku_Go->caption(), "\"メジナ\" \"12 月\"" + kGo);

    tick(drv, f.Chk_Box_Basyo);
    EXPECT_EQ(KadaiMask, 7);
    EXPECT_EQ(f.Btn_Kensaku_Go->caption(), "\"メジナ\" \"12 月\" \"\"" + kGo);
    // Text typed into the place box is the place searched.
    f.CBox_Basyo->lineEdit()->selectAll();
    drv.typeIme(f.CBox_Basyo, "剱崎");
    EXPECT_EQ(SearchPlace, "剱崎");
    EXPECT_EQ(f.Btn_Kensaku_Go->caption(), "\"メジナ\" \"12 月\" \"剱崎\"" + kGo);

    tick(drv, f.Chk_Box_Fish);   // mask 6
    EXPECT_EQ(f.Btn_Kensaku_Go->caption(), "\"12 月\" \"剱崎\"" + kGo);
    KadaiMode = 5;
    drv.click(f.Btn_Kensaku_Go);
    EXPECT_EQ(KadaiMode, 0);
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(KadaiMask, 6);
    EXPECT_EQ(SearchFish, "");
    EXPECT_EQ(SearchMonth, "12");
    EXPECT_EQ(SearchPlace, "剱崎");
}

TEST(LessonSearch, AnEmptyCatchTableListsThePlaceholderWhichFindsNothing) {
    Session s;
    seed(s);
    Driver drv;
    TMainF main;
    drv.show(main);
    drv.expectModal<TKadai_SelF>([&](TKadai_SelF& f) {
        EXPECT_EQ(f.CBox_Fish->itemCount(), 1);
        EXPECT_EQ(f.CBox_Fish->itemText(0), " ----- ");
        EXPECT_EQ(f.CBox_Basyo->itemText(0), " ----- ");
        tick(drv, f.Chk_Box_Fish);
        choose(f.CBox_Fish, 0);
        drv.click(f.Btn_Kensaku_Go);
    });
    drv.expectModal<TKadai_OutF>([&](TKadai_OutF& f) {
        EXPECT_EQ(f.Memo1->text(), "\r\nデータは有りません\r\n");
        drv.click(f.Btn_Return);
    });
    drv.click(main.Btn_Kadai);
}

TEST(LessonSearch, CloseAndTheTitleBarOpenNoDisplay) {
    Session s;
    Driver drv;
    TMainF main;
    drv.show(main);
    drv.expectModal<TKadai_SelF>([&](TKadai_SelF& f) { drv.click(f.Btn_Close); });
    drv.click(main.Btn_Kadai);
    EXPECT_EQ(KadaiMode, 3);
    drv.expectModal<TKadai_SelF>([&](TKadai_SelF& f) {
        EXPECT_EQ(KadaiMode, 0);
        drv.closeByTitleBar(f);
    });
    drv.click(main.Btn_Kadai);   // an unexpected display would fail the test
    EXPECT_EQ(KadaiMode, 3);
    EXPECT_EQ(drv.shownWindows(), (QStringList{"Kadai_SelF", "Kadai_SelF"}));
}

TEST(LessonDisplay, EveryMaskFindsItsLessonsNewestFirst) {
    Session s;
    seed(s);
    Driver drv;
    EXPECT_EQ(display(drv, 1, "メジナ", "", ""), (std::vector<int>{7, 5, 4, 3, 1}));
    EXPECT_EQ(display(drv, 2, "", "3", ""), (std::vector<int>{7, 6, 3, 1}));
    EXPECT_EQ(display(drv, 2, "", "1", ""), (std::vector<int>{4}));   // not 10 or 12
    EXPECT_EQ(display(drv, 3, "メジナ", "3", ""), (std::vector<int>{7, 3, 1}));
    EXPECT_EQ(display(drv, 4, "", "", "剱崎"), (std::vector<int>{6, 3}));
    EXPECT_EQ(display(drv, 5, "アジ", "", "城ヶ島"), (std::vector<int>{2}));
    EXPECT_EQ(display(drv, 6, "", "3", "城ヶ島"), (std::vector<int>{7, 1}));
    EXPECT_EQ(display(drv, 7, "メジナ", "12", "城ヶ島"), (std::vector<int>{5}));
}

TEST(LessonDisplay, OneMatchStaysOnItAndNoMatchShowsTheNoDataState) {
    Session s;
    seed(s);
    Driver drv;
    ui::Form owner(nullptr, "MainF");
    drv.show(owner);
    KadaiMode = 0;
    KadaiMask = 5;
    SearchFish = "アジ";
    SearchPlace = "城ヶ島";
    drv.expectModal<TKadai_OutF>([&](TKadai_OutF& f) {
        EXPECT_EQ(f.caption(), "釣行時の課題　表示");
        EXPECT_EQ(f.Edit_Place->text(), "城ヶ島");
        EXPECT_EQ(f.Edit_Fish->text(), "アジ");
        EXPECT_EQ(f.Edit_Tuki->text(), " 10 月");
        EXPECT_EQ(shown(f), 2);
        EXPECT_TRUE(f.Btn_Prior->focused());
        EXPECT_FALSE(f.Btn_In->isEnabled());   // filling the memo is no change
        drv.click(f.Btn_Next);
        EXPECT_EQ(shown(f), 2);
        drv.click(f.Btn_Prior);
        EXPECT_EQ(shown(f), 2);
        EXPECT_TRUE(f.Btn_Next->isEnabled());
        drv.click(f.Btn_Return);
    });
    ui::openModal(Kadai_OutF, &owner);

    // A typed value Shift-JIS cannot hold matches no lesson either.
    for (const char* place : {"どこにもない", "城ヶ島𩸽"}) {
        SearchPlace = place;
        drv.expectModal<TKadai_OutF>([&](TKadai_OutF& f) {
            EXPECT_EQ(f.Memo1->text(), "\r\nデータは有りません\r\n");
            EXPECT_EQ(f.Memo1->font().pixelSize(), 19);
            EXPECT_TRUE(f.Memo1->isReadOnly());
            EXPECT_FALSE(f.Btn_Prior->isEnabled());
            EXPECT_FALSE(f.Btn_Next->isEnabled());
            EXPECT_FALSE(f.Btn_In->isEnabled());
            EXPECT_TRUE(f.Btn_Return->focused());
            EXPECT_EQ(f.Edit_Place->text(), "");
            drv.click(f.Btn_Return);
        });
        ui::openModal(Kadai_OutF, &owner);
        EXPECT_TRUE(drv.takeBoxes().empty()) << place;
    }
}

TEST(LessonDisplay, WithoutTheTableTheErrorIsShownThenTheNoDataState) {
    Session s(false);
    Driver drv;
    ui::Form owner(nullptr, "MainF");
    drv.show(owner);
    KadaiMode = 0;
    KadaiMask = 2;
    SearchMonth = "3";
    drv.expectModal<TKadai_OutF>([&](TKadai_OutF& f) {
        const QStringList errors = drv.takeErrors();
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].contains("FISH_KADAI")) << errors[0].toStdString();
        EXPECT_EQ(f.Memo1->text(), "\r\nデータは有りません\r\n");
        EXPECT_FALSE(f.Btn_Prior->isEnabled());
        f.Btn_Prior->OnClick();   // even if reached, nothing moves a closed query
        EXPECT_TRUE(drv.takeErrors().isEmpty());
        drv.click(f.Btn_Return);
    });
    ui::openModal(Kadai_OutF, &owner);
}

TEST(LessonDisplay, ACorrectedTextIsStoredAndShownAgainAfterSteppingAway) {
    Session s;
    seed(s);
    Driver drv;
    ui::Form owner(nullptr, "MainF");
    drv.show(owner);
    KadaiMode = 0;
    KadaiMask = 1;
    SearchFish = "メジナ";
    drv.expectModal<TKadai_OutF>([&](TKadai_OutF& f) {
        drv.click(f.Btn_Prior);
        EXPECT_EQ(shown(f), 5);
        EXPECT_FALSE(f.Btn_In->isEnabled());
        f.Memo1->moveCursor(QTextCursor::End);
        drv.pressEnter(f.Memo1);
        drv.typeIme(f.Memo1, "追記");
        EXPECT_TRUE(f.Btn_In->isEnabled());
        drv.click(f.Btn_In);
        EXPECT_FALSE(f.Btn_In->isEnabled());
        EXPECT_EQ(f.Memo1->text(), "課題5\r\n追記");
        drv.click(f.Btn_Prior);
        EXPECT_EQ(shown(f), 4);
        drv.click(f.Btn_Next);
        EXPECT_EQ(f.Memo1->text(), "課題5\r\n追記");

        // A change left unstored is replaced by the next lesson shown.
        drv.typeIme(f.Memo1, "消える");
        drv.click(f.Btn_Prior);
        EXPECT_EQ(f.Memo1->text(), "課題4");
        EXPECT_FALSE(f.Btn_In->isEnabled());
        drv.click(f.Btn_Next);

        // A failed correction keeps the text typed.
        drv.typeIme(f.Memo1, "𠮷");
        drv.click(f.Btn_In);
        EXPECT_EQ(drv.takeMessages(), QStringList{"訂正に失敗しました\n「課題」の「𠮷」は登録できない文字です"});
        EXPECT_TRUE(f.Memo1->text().contains("𠮷"));
        EXPECT_TRUE(f.Btn_In->isEnabled());
        drv.click(f.Btn_Return);
    });
    ui::openModal(Kadai_OutF, &owner);
    const auto rows = storedLessons(s.files.memoFile());
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[4].memo, "課題5\r\n追記");
    EXPECT_EQ(rows[3].memo, "課題4");
}

TEST(LessonChain, TheMainWindowSearchesByMonthAndShowsTheLesson) {
    Session s;
    seed(s);
    Driver drv;
    TMainF main;
    drv.show(main);
    drv.expectModal<TKadai_SelF>([&](TKadai_SelF& f) {
        tick(drv, f.Chk_Box_Tuki);
        drv.click(f.monthButtons[0]);
        drv.click(f.Btn_Kensaku_Go);
    });
    drv.expectModal<TKadai_OutF>([&](TKadai_OutF& f) {
        EXPECT_EQ(f.Edit_Tuki->text(), " 1 月");
        EXPECT_EQ(shown(f), 4);
        drv.click(f.Btn_Return);
    });
    drv.click(main.Btn_Kadai);
    EXPECT_EQ(drv.pendingScripts(), 0);
}
