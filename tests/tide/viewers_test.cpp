// The two tide viewers: the memo picture and the browser's record in the
// band-and-circle style, scaled with its markers; the rectangle style at its
// natural size with its placeholders.
#include <gtest/gtest.h>

#include "tide/ShiOnly_F.h"
#include "tide/Shio_New_F.h"
#include "tide_fixture.h"
#include "ui/testing/driver.h"

using namespace tolvane;
using namespace tidetest;
using tolvane::ui::testing::Driver;

TEST(GeneralTideViewer, ShowsTheMemoPictureWithoutMarkers) {
    Session s;
    Driver drv;
    MemoViewerStandIn memo;
    drv.show(memo);
    memo.Image_S->setPicture(pictures::Picture::fromBitmap(chart(1200, 300)));
    openWindow<TShio_NewF>(drv, Shio_NewF, &memo, [&](TShio_NewF& f) {
        EXPECT_EQ(f.caption(), "潮位");
        EXPECT_EQ(f.Label1->caption(), "潮位の詳細表示(new)");
        EXPECT_EQ(f.size(), QSize(540, 600));
        EXPECT_EQ(f.Image_SS->picture().width(), 1200);
        EXPECT_EQ(f.Image_SS->pictureRect(), QRect(0, 0, 500, 125));
        EXPECT_FALSE(f.Shape1->visible() || f.Shape4->visible());
        drv.click(f.Button1);
    });
}

TEST(GeneralTideViewer, PlacesMarkersOverTheChartAsDrawn) {
    Session s;
    Driver drv;
    addRecord(1, jpegChart(800, 400));
    setColumns(1, "NEW_1_S = 100, NEW_1_E = 50, NEW_2_S = 0, NEW_2_E = 30, NEW_3_S = 0, NEW_3_E = 0,"
               " NEW_4_S = -5, NEW_4_E = 10, NEW_5_S = 0, NEW_5_E = 10");
    addRecord(2, jpegChart(400, 300));
    setColumns(2, "NEW_1_S = 40, NEW_1_E = 20, NEW_4_S = 100, NEW_4_E = 100");
    addRecord(3, QByteArray());
    setColumns(3, "NEW_2_S = 10, NEW_2_E = 20, NEW_6_S = 30, NEW_6_E = 40");
    addRecord(4, QByteArray("damaged chart bytes"));
    setColumns(4, "NEW_1_S = 10, NEW_1_E = 20");
    BrowserStandIn browser;
    drv.show(browser);

    browser.Edit_No->setText("1");
    openWindow<TShio_NewF>(drv, Shio_NewF, &browser, [&](TShio_NewF& f) {
        EXPECT_EQ(f.width(), 840);
        EXPECT_EQ(f.Image_SS->width(), 800);
        EXPECT_EQ(f.Shape1->bounds(), QRect(116, 52, 50, 400));
        EXPECT_TRUE(f.Shape2->visible());   // at the left edge, stored 0
        EXPECT_EQ(f.Shape2->bounds(), QRect(16, 52, 30, 400));
        EXPECT_FALSE(f.Shape3->visible());  // 0, 0: hidden in the editor
        EXPECT_TRUE(f.Shape4->visible());   // negative left: shown
        EXPECT_EQ(f.Shape4->bounds(), QRect(11, 62, 17, 17));
        EXPECT_FALSE(f.Shape5->visible());
        EXPECT_TRUE(f.Button1->focused());
        drv.click(f.Button1);
    });

    browser.Edit_No->setText("2");   // 400 x 300 drawn 500 x 375
    openWindow<TShio_NewF>(drv, Shio_NewF, &browser, [&](TShio_NewF& f) {
        EXPECT_EQ(f.width(), 540);
        EXPECT_EQ(f.Shape1->bounds(), QRect(66, 52, 25, 375));
        EXPECT_EQ(f.Shape4->bounds(), QRect(143, 179, 17, 17));   // centre 135.6 from the corner
        f.setClientSize(740, 800);   // 700 x 700: drawn 700 x 525
        EXPECT_EQ(f.Shape1->bounds(), QRect(86, 52, 35, 525));
        EXPECT_EQ(f.Shape4->bounds(), QRect(197, 233, 17, 17));
        EXPECT_TRUE(Driver::cutLabels(f).isEmpty()) << Driver::cutLabels(f).join(' ').toStdString();
        drv.click(f.Button1);
    });

    browser.Edit_No->setText("3");   // zero-length chart: scale 1, bands of no height
    openWindow<TShio_NewF>(drv, Shio_NewF, &browser, [&](TShio_NewF& f) {
        EXPECT_EQ(f.Image_SS->picture().width(), 0);
        EXPECT_EQ(f.Shape2->bounds(), QRect(26, 52, 20, 0));
        EXPECT_EQ(f.Shape6->bounds(), QRect(46, 92, 17, 17));
        drv.click(f.Button1);
    });

    browser.Edit_No->setText("4");   // undecodable: an error box, no markers
    openWindow<TShio_NewF>(drv, Shio_NewF, &browser, [&](TShio_NewF& f) {
        EXPECT_EQ(drv.takeErrors().size(), 1);
        EXPECT_FALSE(f.Shape1->visible());
        EXPECT_TRUE(f.Button1->focused());
        drv.click(f.Button1);
    });

    for (const char* bad : {"", "one"}) {
        browser.Edit_No->setText(bad);
        openWindow<TShio_NewF>(drv, Shio_NewF, &browser, [&](TShio_NewF& f) {
            EXPECT_FALSE(f.Image_SS->hasPicture());
            EXPECT_FALSE(f.Shape1->visible());
            EXPECT_TRUE(drv.takeBoxes().empty());
            drv.click(f.Button1);
        });
    }
}

TEST(RectangleTideViewer, DrawsTheRectanglesOrPlaceholders) {
    Session s;
    Driver drv;
    addRecord(1, jpegChart(600, 600));
    setColumns(1, "TIME1_L = 167, TIME1_T = 31, TIME1_W = 113, TIME1_H = 445,"
               " TIME2_L = 0, TIME2_T = 0, TIME2_W = 0, TIME2_H = 0");
    addRecord(2, std::nullopt);
    setColumns(2, "TIME2_L = 216, TIME2_T = 48, TIME2_W = 33, TIME2_H = 433");
    addRecord(3, QByteArray("\x01\x02\x03", 3));
    BrowserStandIn browser;
    drv.show(browser);

    const auto placeholder = [](ui::Shape* sh) {
        EXPECT_TRUE(sh->visible());
        EXPECT_EQ(sh->bounds(), QRect(9, 49, 2, 2));
        EXPECT_EQ(sh->penColor(), QColor(Qt::white));
        EXPECT_EQ(sh->fill(), ui::Shape::Fill::Clear);
    };
    browser.Edit_No->setText("1");
    openWindow<TShioOnlyF>(drv, ShioOnlyF, &browser, [&](TShioOnlyF& f) {
        EXPECT_EQ(f.caption(), "潮位");
        EXPECT_EQ(f.size(), QSize(517, 556));
        EXPECT_EQ(f.minimumSize(), f.maximumSize());
        EXPECT_EQ(f.Image_SS->picture().width(), 600);   // cut off, the window does not grow
        EXPECT_EQ(f.Shape1->bounds(), QRect(159, 65, 113, 445));
        EXPECT_EQ(f.Shape1->penColor(), QColor(0, 0, 255));
        EXPECT_EQ(f.Shape2->bounds(), QRect(-8, 34, 0, 0));
        EXPECT_EQ(f.Shape2->fill(), ui::Shape::Fill::BDiagonal);
        EXPECT_TRUE(f.Button1->focused());
        drv.click(f.Button1);
    });
    browser.Edit_No->setText("2");
    openWindow<TShioOnlyF>(drv, ShioOnlyF, &browser, [&](TShioOnlyF& f) {
        EXPECT_FALSE(f.Image_SS->hasPicture());
        placeholder(f.Shape1);
        EXPECT_EQ(f.Shape2->bounds(), QRect(208, 82, 33, 433));
        drv.click(f.Button1);
    });
    for (const char* code : {"42", "", "bad"}) {   // no row, no number
        browser.Edit_No->setText(code);
        openWindow<TShioOnlyF>(drv, ShioOnlyF, &browser, [&](TShioOnlyF& f) {
            EXPECT_FALSE(f.Image_SS->hasPicture());
            placeholder(f.Shape1);
            placeholder(f.Shape2);
            drv.click(f.Button1);
        });
    }
    browser.Edit_No->setText("3");
    openWindow<TShioOnlyF>(drv, ShioOnlyF, &browser, [&](TShioOnlyF& f) {
        EXPECT_EQ(drv.takeErrors().size(), 1);
        EXPECT_FALSE(f.Shape1->visible());
        EXPECT_TRUE(f.Button1->focused());
        drv.click(f.Button1);
    });
}
