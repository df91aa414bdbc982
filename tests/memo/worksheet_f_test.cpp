// The memo list sheet over the viewer's cursor: the rows of the current set,
// the pick handed back, a sheet closed by its title bar, an empty set.
#include <QAbstractItemModel>
#include <QFontMetrics>
#include <QStyle>
#include <gtest/gtest.h>

#include "memo/Show_F.h"
#include "memo/WorkSheet_F.h"
#include "memo_fixture.h"
#include "ui/testing/driver.h"

using namespace tolvane;
using tolvane::ui::testing::Driver;
using memotest::Session;
using memotest::memoInsert;

namespace {

struct Viewer {
    explicit Viewer(Driver& drv) {
        ShowF = &w;
        drv.show(w);
    }
    ~Viewer() { ShowF = nullptr; }
    TShowF w{nullptr};
};

void storeFive(Session& s) {
    s.sql({memoInsert(1, "A", "g1", "p1", "one"), memoInsert(2, "B", "g2", "p2", "two"),
           memoInsert(3, "A", "g3", "p3", "three"), memoInsert(4, "B", "g4", "p4", "four"),
           memoInsert(5, "A", "g5", "p5", "five")});
}

// Puts the grid's current row on `row`, as the arrow keys or a click do.
void gridTo(TWorkSheetF& f, int row) {
    f.DBGrid1->setCurrentIndex(f.DBGrid1->model()->index(row, 0));
}

}  // namespace

TEST(MemoListSheet, ListsTheSearchResultAndHandsBackThePick) {
    Session s;
    storeFive(s);
    Driver drv;
    Viewer v(drv);
    TShowF& w = v.w;
    drv.expectModal("SelectF", [&](ui::Form& f) {
        MemoSearchSql = " select * from FISH_MEMO where FISH1 = \"A\" order by CODE ";
        f.close();
    });
    drv.click(w.Btn_select);

    drv.expectModal<TWorkSheetF>([&](TWorkSheetF& f) {
        EXPECT_EQ(f.caption(), "釣り関連メモ");
        EXPECT_EQ(f.minimumSize(), QSize(800, 600));
        EXPECT_GT(f.maximumWidth(), 800);
        EXPECT_EQ(f.DBGrid1->dataSource(), &w.DS_OutPut);
        ASSERT_EQ(f.DBGrid1->columns().size(), 7u);
        EXPECT_EQ(f.DBGrid1->columns()[0].title, "No");
        EXPECT_EQ(f.DBGrid1->columns()[4].title, "対象魚　１");
        EXPECT_EQ(f.DBGrid1->columns()[2].width, 150);
        ASSERT_EQ(f.DBGrid1->rowCount(), 3);
        EXPECT_EQ(f.DBGrid1->cellText(1, 0), "3");
        EXPECT_EQ(f.DBGrid1->cellText(1, 1), "g3");
        // The grid follows the window's size.
        f.resize(1000, 700);
        drv.processEvents();
        EXPECT_GT(f.DBGrid1->width(), 900);
        EXPECT_TRUE(Driver::cutLabels(f).isEmpty()) << Driver::cutLabels(f).join(' ').toStdString();
        gridTo(f, 2);
        drv.click(f.Button1);
    });
    drv.click(w.Btn_wooksheet);
    EXPECT_EQ(w.Label_CODE->caption(), "5");
    EXPECT_EQ(w.Memo1->text(), "five\r\n");
    EXPECT_FALSE(MemoBookmark.valid());
    drv.click(w.Btn_M1);
    EXPECT_EQ(w.Label_CODE->caption(), "3");

    // After a direct pick the sheet lists that one memo.
    w.ComboBox_X->setItemIndex(1);
    emit w.ComboBox_X->activated(1);
    drv.expectModal<TWorkSheetF>([&](TWorkSheetF& f) {
        EXPECT_EQ(f.DBGrid1->rowCount(), 1);
        EXPECT_EQ(f.DBGrid1->cellText(0, 0), "2");
        drv.click(f.Button1);
    });
    drv.click(w.Btn_wooksheet);
    EXPECT_EQ(w.Label_CODE->caption(), "2");
}

TEST(MemoListSheet, ClosedByItsTitleBarTheViewerShowsTheRowOfTheGrid) {
    Session s;
    storeFive(s);
    Driver drv;
    Viewer v(drv);
    TShowF& w = v.w;
    drv.expectModal<TWorkSheetF>([&](TWorkSheetF& f) {
        gridTo(f, 3);
        drv.click(f.Button1);
    });
    drv.click(w.Btn_wooksheet);
    ASSERT_EQ(w.Label_CODE->caption(), "4");
    // Twice by the title bar: each time the row the grid is on, never an
    // earlier bookmark.
    for (int row : {1, 4}) {
        drv.expectModal<TWorkSheetF>([&](TWorkSheetF& f) {
            gridTo(f, row);
            drv.closeByTitleBar(f);
        });
        drv.click(w.Btn_wooksheet);
        EXPECT_EQ(w.Label_CODE->caption(), QString::number(row + 1));
        EXPECT_EQ(w.Edit_Janru->text(), "g" + QString::number(row + 1));
        EXPECT_FALSE(MemoBookmark.valid());
    }
    drv.click(w.Btn_M1);
    EXPECT_EQ(w.Label_CODE->caption(), "4");
}

TEST(MemoListSheet, AnEmptySetGivesAnEmptyGridAndMovesNothing) {
    Session s;
    Driver drv;
    Viewer v(drv);
    TShowF& w = v.w;
    drv.expectModal<TWorkSheetF>([&](TWorkSheetF& f) {
        EXPECT_EQ(f.DBGrid1->rowCount(), 0);
        drv.click(f.Button1);
    });
    drv.click(w.Btn_wooksheet);
    EXPECT_FALSE(MemoBookmark.valid());
    EXPECT_EQ(w.Label_CODE->caption(), "0");
    EXPECT_TRUE(drv.takeBoxes().empty());
}

TEST(MemoListSheet, AFourDigitNumberFitsItsColumn) {
    Session s;
    TWorkSheetF f(nullptr);
    const int margins = 2 * (f.DBGrid1->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, f.DBGrid1) + 1);
    EXPECT_LE(QFontMetrics(f.DBGrid1->font()).horizontalAdvance(QStringLiteral("9999")) + margins,
              f.DBGrid1->columns()[0].width);
}
