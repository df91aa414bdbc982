// The memo selection dialog: its criteria, the statement it hands back, and
// the searches the viewer runs with it.
#include <gtest/gtest.h>

#include "memo/Select_F.h"
#include "memo/Show_F.h"
#include "memo_fixture.h"
#include "ui/testing/driver.h"

using namespace tolvane;
using tolvane::ui::testing::Driver;
using memotest::Session;
using memotest::memoInsert;

namespace {

// The viewer's current set, as CODEs.
std::vector<int> codesInCursor(TShowF& w) {
    std::vector<int> out;
    auto& q = w.IBSQL_OutPut;
    const int keep = q.recNo();
    for (q.first(); !q.eof(); q.next()) out.push_back(q.fieldByName("CODE").asInteger());
    q.setRecNo(keep);
    return out;
}

struct Viewer {
    explicit Viewer(Driver& drv) {
        ShowF = &w;
        drv.show(w);
    }
    ~Viewer() { ShowF = nullptr; }
    TShowF w{nullptr};
};

void storeMemos(Session& s) {
    s.sql({memoInsert(1, "アジ", "釣り方", "p", "one", {3}),
           memoInsert(2, "小アジ", "場所", "p", "two", {4, 5}),
           memoInsert(3, "a\"b", "釣り方", "p", "three", {12}),
           memoInsert(4, "サバ", "場所", "p", "four", {3}),
           memoInsert(5, "サバ", "場所", "p", "five"),
           memoInsert(6, "タイ", "NULL", "p", "six", {3}),
           "insert into SYURUI (SYURUI) values (\"釣り方\")",
           "insert into SYURUI (SYURUI) values (\"場所\")"});
}

// Searches from the viewer with `script` filling the dialog before Search.
void search(Driver& drv, TShowF& w, std::function<void(TSelectF&)> script) {
    drv.expectModal<TSelectF>([&drv, script](TSelectF& f) {
        script(f);
        drv.click(f.Btn_GO);
    });
    drv.click(w.Btn_select);
}

}  // namespace

// The viewer over the sample memos, for the searches.
struct MemoSearch : ::testing::Test {
    Session s;
    bool stored = (storeMemos(s), true);
    Driver drv;
    Viewer v{drv};
    TShowF& w = v.w;
};

TEST(MemoSelectDialog, StartsWithNoCriterionAndTheLists) {
    Session s;
    Driver drv;
    TSelectF f(nullptr);
    drv.show(f);
    EXPECT_EQ(f.caption(), "SelectF");
    EXPECT_EQ(f.minimumSize(), QSize(318, 358));
    EXPECT_EQ(f.maximumSize(), QSize(318, 358));
    EXPECT_EQ(f.CBox1->itemCount(), 1);
    EXPECT_EQ(f.CBox1->text(), " ----- ");
    EXPECT_EQ(f.CBox2->text(), " ----- ");
    EXPECT_FALSE(f.CBox1->enabled());
    EXPECT_FALSE(f.CBox2->enabled());
    for (auto* b : f.SBtns) {
        EXPECT_TRUE(b->down());
        EXPECT_FALSE(b->enabled());
        EXPECT_EQ(b->palette().color(QPalette::Active, QPalette::ButtonText), QColor(128, 128, 128));
    }
    EXPECT_EQ(f.SBtn120->caption(), "１２月");

    drv.click(f.CheckBox1);
    EXPECT_TRUE(f.CBox1->enabled());
    EXPECT_TRUE(f.CBox1->focused());
    drv.click(f.CheckBox2);
    EXPECT_TRUE(f.CBox2->enabled());
    drv.click(f.CheckBox2);
    EXPECT_FALSE(f.CBox2->enabled());

    // Months chosen are forgotten when the box is ticked again.
    drv.click(f.CheckBox3);
    drv.click(f.SBtn050);
    EXPECT_FALSE(f.SBtn050->down());
    EXPECT_EQ(f.SBtn050->fontColor(), QColor(0, 0, 255));
    drv.click(f.CheckBox3);
    drv.click(f.CheckBox3);
    EXPECT_TRUE(f.SBtn050->down());
    EXPECT_TRUE(f.SBtn050->enabled());
    drv.click(f.SBtn050);
    drv.click(f.SBtn050);
    EXPECT_TRUE(f.SBtn050->down());
    EXPECT_EQ(f.SBtn050->fontColor(), QColor(128, 128, 128));
}

TEST(MemoSelectDialog, MarchAndAprilGiveTheStatementAsSpelled) {
    Session s;
    storeMemos(s);
    Driver drv;
    TSelectF f(nullptr);
    drv.show(f);
    EXPECT_EQ(f.CBox2->itemCount(), 2);
    EXPECT_EQ(f.CBox2->text(), "釣り方");
    MemoSearchSql = "old";
    drv.click(f.CheckBox3);
    drv.click(f.SBtn030);
    drv.click(f.SBtn040);
    drv.click(f.Btn_GO);
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(MemoSearchSql.simplified(),
              "select * from FISH_MEMO where ( FISH1 like \"%\" or FISH2 like \"%\" or FISH3 like \"%\" ) "
              "and ( BUNRUI like \"%\" ) and ( M1 = 2 or M2 = 2 or M3 = 1 or M4 = 1 or M5 = 2 or M6 = 2 "
              "or M7 = 2 or M8 = 2 or M9 = 2 or M10= 2 or M11 = 2 or M12 = 2 ) and CODE > 0 order by CODE");
    EXPECT_TRUE(MemoSearchSql.contains("  M3 = 1 or   M4 = 1 or  "));
}

TEST(MemoSelectDialog, NoCriterionAndCancelHandBackNoSearch) {
    Session s;
    Driver drv;
    TSelectF f(nullptr);
    drv.show(f);
    MemoSearchSql = "old";
    drv.click(f.Btn_GO);
    EXPECT_EQ(MemoSearchSql, "");
    TSelectF g(nullptr);
    drv.show(g);
    drv.click(g.CheckBox1);
    MemoSearchSql = "old";
    drv.click(g.Btn_Cancel);
    EXPECT_EQ(MemoSearchSql, "");
}

TEST_F(MemoSearch, SpeciesGenreAndMonthsFindTheirMemos) {
    // Exact species, not a part of a name.
    search(drv, w, [&](TSelectF& f) {
        drv.click(f.CheckBox1);
        f.CBox1->setText("アジ");
    });
    EXPECT_EQ(codesInCursor(w), std::vector<int>{1});
    // A double quote in the value finds its memo.
    search(drv, w, [&](TSelectF& f) {
        drv.click(f.CheckBox1);
        f.CBox1->setText("a\"b");
    });
    EXPECT_EQ(codesInCursor(w), std::vector<int>{3});
    EXPECT_EQ(w.Label_CODE->caption(), "3");
    // Genre and month together.
    search(drv, w, [&](TSelectF& f) {
        drv.click(f.CheckBox2);
        f.CBox2->setText("場所");
        drv.click(f.CheckBox3);
        drv.click(f.SBtn050);
    });
    EXPECT_EQ(codesInCursor(w), std::vector<int>{2});
    // All twelve months: memos without a month are not found; a NULL genre never.
    search(drv, w, [&](TSelectF& f) {
        drv.click(f.CheckBox3);
        for (auto* b : f.SBtns) drv.click(b);
    });
    EXPECT_EQ(codesInCursor(w), (std::vector<int>{1, 2, 3, 4}));
    // The month box ticked with no month: nothing, and the moves stay usable.
    search(drv, w, [&](TSelectF& f) { drv.click(f.CheckBox3); });
    EXPECT_TRUE(codesInCursor(w).empty());
    EXPECT_EQ(w.Label_CODE->caption(), "0");
    EXPECT_EQ(w.Edit_F1->text(), "");
    EXPECT_TRUE(w.Btn_P1->enabled());
    drv.click(w.Btn_sel_1);
    EXPECT_EQ(codesInCursor(w).size(), 6u);
}

TEST_F(MemoSearch, CancelAndTheTitleBarKeepTheSetAndEnableTheMoves) {
    search(drv, w, [&](TSelectF& f) {
        drv.click(f.CheckBox1);
        f.CBox1->setText("サバ");
    });
    ASSERT_EQ(codesInCursor(w), (std::vector<int>{4, 5}));
    drv.click(w.Btn_P1);

    // A direct pick, then a dialog closed by its title bar: no search.
    w.ComboBox_X->setItemIndex(0);
    emit w.ComboBox_X->activated(0);
    ASSERT_FALSE(w.Btn_P1->enabled());
    drv.expectModal<TSelectF>([&](TSelectF& f) { drv.closeByTitleBar(f); });
    drv.click(w.Btn_select);
    EXPECT_EQ(codesInCursor(w), std::vector<int>{1});
    EXPECT_TRUE(w.Btn_P1->enabled());
    drv.expectModal<TSelectF>([&](TSelectF& f) { drv.click(f.Btn_Cancel); });
    drv.click(w.Btn_select);
    EXPECT_EQ(codesInCursor(w), std::vector<int>{1});
    EXPECT_EQ(MemoSearchSql, "");
}

// No stored text holds a character Shift-JIS cannot hold: such a value finds
// no memo, with no error, species or genre alike.
TEST_F(MemoSearch, AValueTheDatabaseCannotHoldFindsNothing) {
    search(drv, w, [&](TSelectF& f) {
        drv.click(f.CheckBox1);
        f.CBox1->setEditText("鯛🐟");
    });
    EXPECT_TRUE(drv.takeBoxes().empty());
    EXPECT_TRUE(codesInCursor(w).empty());
    EXPECT_EQ(w.Label_CODE->caption(), "0");
    search(drv, w, [&](TSelectF& f) {
        drv.click(f.CheckBox2);
        f.CBox2->setEditText("𩸽");
    });
    EXPECT_TRUE(drv.takeBoxes().empty());
    EXPECT_TRUE(codesInCursor(w).empty());
    drv.click(w.Btn_sel_1);
    EXPECT_EQ(codesInCursor(w), (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

TEST_F(MemoSearch, TypedSpeciesReachesTheBoxWhileItsListIsDown) {
    search(drv, w, [&](TSelectF& f) {
        drv.click(f.CheckBox1);
        f.CBox1->setEditText(QString());
        drv.type(f.CBox1, "サ");
        // The list drops down at the first character and marks its match;
        // the next characters still go to the box, not to the list.
        ASSERT_TRUE(f.CBox1->view()->isVisible());
        EXPECT_EQ(f.CBox1->view()->currentIndex().data().toString(), "サバ");
        drv.type(f.CBox1, "バ");
        EXPECT_EQ(f.CBox1->text(), "サバ");
        drv.pressKey(f.CBox1, Qt::Key_Escape);
        EXPECT_FALSE(f.CBox1->view()->isVisible());
        EXPECT_EQ(f.CBox1->text(), "サバ");
    });
    EXPECT_EQ(codesInCursor(w), (std::vector<int>{4, 5}));

    // Text no item begins with: nothing marked, so Enter keeps what was typed.
    search(drv, w, [&](TSelectF& f) {
        drv.click(f.CheckBox1);
        f.CBox1->setEditText(QString());
        drv.type(f.CBox1, "abc");
        EXPECT_EQ(f.CBox1->text(), "abc");
        EXPECT_FALSE(f.CBox1->view()->currentIndex().isValid());
        drv.pressEnter(f.CBox1);
        EXPECT_FALSE(f.CBox1->view()->isVisible());
        drv.pressKey(f.CBox1, Qt::Key_Backspace);
        EXPECT_EQ(f.CBox1->text(), "ab");
        drv.pressKey(f.CBox1, Qt::Key_Escape);
    });
    EXPECT_TRUE(codesInCursor(w).empty());
}
