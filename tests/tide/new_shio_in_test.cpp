// The band-and-circle tide editor: opening a record of the browser, pasting,
// dragging bands and circles, 登録 into the record or into the entry window,
// and the failures, on fresh files through the driver.
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

#include "catch/Fish_Data_IN.h"
#include "pictures/storage.h"
#include "tide/New_Shio_In_F.h"
#include "tide_fixture.h"
#include "ui/testing/driver.h"

using namespace tolvane;
using namespace tidetest;
using tolvane::ui::testing::Driver;
using tolvane::pictures::decodeBitmapFirst;

namespace {

// Opens the editor on `owner` and runs `script` in it.
void openEditor(Driver& drv, ui::Form* owner, std::function<void(TNew_Shio_InF&)> script) {
    openWindow(drv, New_Shio_InF, owner, std::move(script));
}

// Drags `s` by (dx, dy) with `button` held (and `mods`), then releases it.
void drag(Driver& drv, ui::Shape* s, Qt::MouseButton button, int dx, int dy,
          Qt::KeyboardModifiers mods = Qt::NoModifier) {
    const QPoint start(5, 5);
    drv.mouseDown(s, button, start, mods);
    drv.mouseMove(s, start + QPoint(dx, dy), button, mods);
    drv.mouseUp(s, button, start + QPoint(dx, dy), mods);
}

}  // namespace

TEST(GeneralTideEditorOpen, ReadsTheBrowsersRecordWithItsBandsAndCircles) {
    Session s;
    Driver drv;
    addRecord(1, jpegChart(800, 600));
    setColumns(1, "NEW_1_S = 100, NEW_1_E = 50, NEW_2_S = 10, NEW_2_E = 20, NEW_4_S = 30, NEW_4_E = -5,"
                " NEW_5_S = 0, NEW_5_E = 40");
    addRecord(2, std::nullopt);
    // Feeding windows stored without a trip band; band 3 too narrow to show.
    addRecord(3, jpegChart(300, 200));
    setColumns(3, "NEW_1_S = 0, NEW_1_E = 0, NEW_2_S = 40, NEW_2_E = 30, NEW_3_S = 60, NEW_3_E = 2");
    // A damaged row.
    addRecord(4, jpegChart(100, 100));
    setColumns(4, "NEW_1_S = 2147483000, NEW_1_E = 2147483000, NEW_4_S = -2147483000, NEW_4_E = 5");

    BrowserStandIn browser;
    drv.show(browser);
    DataMode = OLD_Flg;
    browser.Edit_No->setText("1");
    openEditor(drv, &browser, [&](TNew_Shio_InF& f) {
        EXPECT_EQ(f.caption(), "潮位 New");
        EXPECT_EQ(f.Edit_CODE->text(), "1");
        EXPECT_EQ(f.Label_XY->caption(), "");
        EXPECT_EQ(f.width(), 990);
        EXPECT_EQ(f.height(), 560);
        EXPECT_EQ(f.Image_S->bounds(), QRect(16, 16, 800, 500));
        EXPECT_EQ(f.Btn_OK->left(), 840);   // the right column followed the edge
        EXPECT_TRUE(f.Image_S->picture().isJpeg());
        EXPECT_EQ(f.Shape_1->bounds(), QRect(116, 16, 50, 600));
        EXPECT_EQ(f.Shape_2->bounds(), QRect(26, 16, 20, 600));
        EXPECT_TRUE(f.Shape_3->visible());   // with band 1, whatever it holds
        EXPECT_EQ(f.Shape_3->bounds(), QRect(16, 16, 0, 600));
        EXPECT_TRUE(f.Shape_4->visible());
        EXPECT_EQ(f.Shape_4->bounds(), QRect(46, 11, 17, 17));
        EXPECT_FALSE(f.Shape_5->visible());
        EXPECT_FALSE(f.Shape_6->visible());
        EXPECT_FALSE(f.S_Btn_1->isEnabled());
        EXPECT_FALSE(f.Label_BB->isEnabled());
        EXPECT_TRUE(f.Panel_Time->isEnabled());
        drv.click(f.Btn_Return);
    });

    browser.Edit_No->setText("2");   // NULL chart: an empty 0 x 0 picture
    openEditor(drv, &browser, [&](TNew_Shio_InF& f) {
        EXPECT_TRUE(f.Image_S->hasPicture());
        EXPECT_EQ(f.Image_S->picture().width(), 0);
        EXPECT_EQ(f.width(), 690);
        EXPECT_FALSE(f.Shape_1->visible());
        drv.click(f.Btn_Return);
    });

    browser.Edit_No->setText("3");
    openEditor(drv, &browser, [&](TNew_Shio_InF& f) {
        EXPECT_FALSE(f.Shape_1->visible());
        EXPECT_TRUE(f.Shape_2->visible());
        EXPECT_EQ(f.Shape_2->bounds(), QRect(56, 16, 30, 200));
        EXPECT_FALSE(f.Shape_3->visible());
        drv.click(f.Btn_Return);
    });

    browser.Edit_No->setText("4");
    openEditor(drv, &browser, [&](TNew_Shio_InF& f) {
        EXPECT_EQ(f.Shape_1->left(), 16'777'215);
        EXPECT_FALSE(f.Shape_4->visible());   // left of the picture
        drv.click(f.Btn_Return);
    });

    for (const char* bad : {"", "abc"}) {
        browser.Edit_No->setText(bad);
        openEditor(drv, &browser, [&](TNew_Shio_InF& f) {
            EXPECT_EQ(drv.takeMessages(), QStringList{"コード番号取得失敗"});
            EXPECT_FALSE(f.isOpen());
            EXPECT_FALSE(f.Image_S->hasPicture());
        });
    }
}

TEST(GeneralTideEditorPaste, GrowsForLargeChartsAndNeverShrinks) {
    Session s;
    Driver drv;
    DataMode = NEW_Flg;
    openEditor(drv, nullptr, [&](TNew_Shio_InF& f) {
        EXPECT_EQ(f.Edit_CODE->text(), "新規入力");
        EXPECT_FALSE(f.Image_S->hasPicture());
        drv.click(f.Btn_In);
        EXPECT_EQ(drv.takeMessages(), QStringList{"クリップボードに画像がありません"});
        EXPECT_FALSE(f.Image_S->hasPicture());

        drv.platform().clipboard = chart(700, 400);
        drv.click(f.Btn_In);
        EXPECT_EQ(f.Label_XY->caption(), "700 * 400");
        EXPECT_EQ(f.size(), QSize(890, 560));
        EXPECT_EQ(f.Image_S->bounds(), QRect(16, 16, 700, 500));

        drv.platform().clipboard = chart(400, 700);
        drv.click(f.Btn_In);
        EXPECT_EQ(f.size(), QSize(890, 760));
        EXPECT_EQ(f.Image_S->bounds(), QRect(16, 16, 700, 700));

        drv.platform().clipboard = chart(200, 100);
        drv.click(f.Btn_In);
        EXPECT_EQ(f.Label_XY->caption(), "200 * 100");
        EXPECT_EQ(f.size(), QSize(890, 760));
        EXPECT_EQ(f.Image_S->bounds(), QRect(16, 16, 700, 700));

        // Larger than the screen: the window stops at its edges, 登録 stays reachable.
        drv.platform().clipboard = chart(3000, 2000);
        drv.click(f.Btn_In);
        const QRect screen = f.screen()->availableGeometry();
        EXPECT_TRUE(screen.contains(f.frameGeometry())) << f.frameGeometry().x() << "," << f.frameGeometry().y();
        EXPECT_EQ(f.Image_S->width(), f.width() - 190);
        EXPECT_LE(f.Btn_OK->left() + f.Btn_OK->width(), f.width());

        drv.click(f.Btn_Clear);
        EXPECT_FALSE(f.Image_S->hasPicture());
        EXPECT_EQ(f.Label_XY->caption(), "");
        drv.click(f.Btn_Time);   // no picture: nothing
        EXPECT_FALSE(f.S_Btn_1->isEnabled());
        drv.click(f.Btn_Return);
    });
}

// The size label was empty when it was anchored: a paste that widens the
// window, and the user enlarging it, keep its text whole at the right column.
TEST(GeneralTideEditorPaste, TheSizeLabelStaysWholeWhenTheWindowWidens) {
    Session s;
    Driver drv;
    DataMode = NEW_Flg;
    openEditor(drv, nullptr, [&](TNew_Shio_InF& f) {
        ui::Label* l = f.Label_XY;
        const auto textWidth = [&] { return QFontMetrics(l->font()).horizontalAdvance(l->caption()); };
        const auto gap = [&] { return f.width() - (l->left() + l->width()); };
        drv.platform().clipboard = chart(640, 480);
        drv.click(f.Btn_In);
        EXPECT_EQ(l->caption(), "640 * 480");
        EXPECT_EQ(f.width(), 830);
        EXPECT_EQ(f.width() - l->left(), 690 - 540);   // the column's place from the right
        EXPECT_GE(l->width(), textWidth());
        EXPECT_EQ(gap(), 690 - 540 - l->width());

        const int before = gap();
        f.resize(1100, 700);
        drv.processEvents();
        EXPECT_EQ(gap(), before);
        EXPECT_GE(l->width(), textWidth());

        drv.platform().clipboard = chart(3000, 500);
        drv.click(f.Btn_In);
        EXPECT_EQ(l->caption(), "3000 * 500");
        EXPECT_GE(l->width(), textWidth());
        EXPECT_EQ(f.width() - l->left(), 690 - 540);
        EXPECT_TRUE(Driver::cutLabels(f).isEmpty()) << Driver::cutLabels(f).join(' ').toStdString();
        drv.click(f.Btn_Return);
    });
}

TEST(GeneralTideEditorDrag, BandsMoveSidewaysOnlyWhenChosenAndAreClampedAtRelease) {
    Session s;
    Driver drv;
    addRecord(1, jpegChart(500, 400));
    setColumns(1, "NEW_4_S = 30, NEW_4_E = 40");
    BrowserStandIn browser;
    drv.show(browser);
    DataMode = OLD_Flg;
    browser.Edit_No->setText("1");
    openEditor(drv, &browser, [&](TNew_Shio_InF& f) {
        // A shown circle follows any button before 釣り時間の表示.
        drag(drv, f.Shape_4, Qt::RightButton, 20, -30);
        EXPECT_EQ(f.Shape_4->bounds(), QRect(66, 26, 17, 17));
        EXPECT_FALSE(f.FDragging);

        drv.click(f.Btn_Time);
        EXPECT_TRUE(f.S_Btn_1->isEnabled());
        EXPECT_EQ(f.Shape_1->bounds(), QRect(16, 16, 100, 400));
        EXPECT_EQ(f.Shape_2->bounds(), QRect(16, 16, 80, 400));
        EXPECT_FALSE(f.Shape_1->visible());

        // Not chosen: the drag moves nothing, the release clamps.
        f.Shape_2->setVisible(true);
        f.Shape_2->setBounds(5, 16, 2, 400);
        drag(drv, f.Shape_2, Qt::LeftButton, 40, 0);
        EXPECT_EQ(f.Shape_2->bounds(), QRect(16, 16, 10, 400));

        drv.click(f.S_Btn_1);
        EXPECT_EQ(f.FMode, 1);
        EXPECT_TRUE(f.Shape_1->visible());
        EXPECT_EQ(f.S_Btn_1->fontColor(), QColor(255, 0, 0));
        EXPECT_EQ(f.S_Btn_2->fontColor(), QColor(Qt::black));
        drag(drv, f.Shape_1, Qt::LeftButton, 50, 30);
        EXPECT_EQ(f.Shape_1->bounds(), QRect(66, 16, 100, 400));
        drag(drv, f.Shape_1, Qt::LeftButton, 50, 0, Qt::ShiftModifier);   // Shift: nothing
        EXPECT_EQ(f.Shape_1->bounds(), QRect(66, 16, 100, 400));
        drag(drv, f.Shape_1, Qt::RightButton, 30, 0);
        EXPECT_EQ(f.Shape_1->bounds(), QRect(66, 16, 130, 400));

        // Through zero width and back, from the width at mouse-down.
        drv.mouseDown(f.Shape_1, Qt::RightButton, {5, 5});
        drv.mouseMove(f.Shape_1, {-200, 5}, Qt::RightButton);
        EXPECT_EQ(f.Shape_1->width(), 0);
        drv.mouseMove(f.Shape_1, {25, 5}, Qt::RightButton);
        EXPECT_EQ(f.Shape_1->width(), 150);
        drv.mouseUp(f.Shape_1, Qt::RightButton, {25, 5});

        // The right edge of the picture area: 516 kept, 517 cut back.
        f.Shape_1->setLeft(416);
        f.Shape_1->setWidth(100);
        drag(drv, f.Shape_1, Qt::LeftButton, 0, 0);
        EXPECT_EQ(f.Shape_1->bounds(), QRect(416, 16, 100, 400));
        f.Shape_1->setLeft(417);
        drag(drv, f.Shape_1, Qt::LeftButton, 0, 0);
        EXPECT_EQ(f.Shape_1->bounds(), QRect(417, 16, 99, 400));
        // Cut to less than 3: a band of 10 ending on the edge.
        f.Shape_1->setLeft(515);
        drag(drv, f.Shape_1, Qt::LeftButton, 0, 0);
        EXPECT_EQ(f.Shape_1->bounds(), QRect(506, 16, 10, 400));
        f.Shape_1->setLeft(600);
        drag(drv, f.Shape_1, Qt::LeftButton, 0, 0);
        EXPECT_EQ(f.Shape_1->bounds(), QRect(506, 16, 10, 400));

        // A hide/show button: first click hides, caption "+", choice cleared.
        drv.click(f.Btn_S00);
        EXPECT_FALSE(f.Shape_1->visible());
        EXPECT_EQ(f.Btn_S00->caption(), "+");
        EXPECT_EQ(f.FMode, 0);
        EXPECT_EQ(f.S_Btn_1->fontColor(), QColor(Qt::black));
        drv.click(f.Btn_S00);
        EXPECT_TRUE(f.Shape_1->visible());
        // On a hidden marker the first click only turns the caption.
        drv.click(f.Btn_O_3);
        EXPECT_FALSE(f.Shape_6->visible());
        drv.click(f.Btn_O_3);
        EXPECT_TRUE(f.Shape_6->visible());
        drv.click(f.Btn_Return);
    });
    // 戻る stored nothing.
    EXPECT_EQ(ints(storedRows(s.files.catchFile())[0], kNewCols),
              (std::vector<int>{0, 0, 0, 0, 0, 0, 30, 40, 0, 0, 0, 0}));
}

TEST(GeneralTideEditorSave, UpdatesTheNumberedRecordOnlyAndReportsFailures) {
    Session s;
    addRefusingTrigger(s.files.catchFile());
    Driver drv;
    addRecord(1, std::nullopt);
    addRecord(2, std::nullopt);
    addRecord(9, std::nullopt);
    BrowserStandIn browser;
    drv.show(browser);
    DataMode = OLD_Flg;
    browser.Edit_No->setText("1");
    openEditor(drv, &browser, [&](TNew_Shio_InF& f) {
        drv.platform().clipboard = chart(400, 300);
        drv.click(f.Btn_In);
        drv.click(f.Btn_Time);
        drv.click(f.S_Btn_1);
        drag(drv, f.Shape_1, Qt::LeftButton, 34, 0);   // left 50
        drv.click(f.S_Btn_2);                          // band 2 at 16: stored left 0
        drv.click(f.S_Btn_3__);                        // circle 1 at its design place
        drv.click(f.S_Btn_2__);
        drag(drv, f.Shape_5, Qt::LeftButton, 0, -70);  // above the picture
        drv.click(f.Btn_OK);
        EXPECT_FALSE(f.isOpen());
    });
    auto rows = storedRows(s.files.catchFile());
    EXPECT_EQ(ints(rows[0], kNewCols), (std::vector<int>{34, 100, 0, 80, 0, 0, 40, 32, 40, -10, 0, 0}));
    const auto stored = decodeBitmapFirst(QByteArray::fromStdString(rows[0].at("SHIO_ZU").bytes));
    EXPECT_TRUE(stored.isJpeg());
    EXPECT_EQ(QSize(stored.width(), stored.height()), QSize(400, 300));
    EXPECT_TRUE(rows[1].at("SHIO_ZU").null);

    // A typed number updates that record; letters write nothing and keep the editor open.
    openEditor(drv, &browser, [&](TNew_Shio_InF& f) {
        f.Edit_CODE->setText("abc");
        drv.click(f.Btn_OK);
        EXPECT_EQ(drv.takeMessages(), QStringList{"コード番号取得失敗"});
        EXPECT_TRUE(f.isOpen());
        f.Edit_CODE->setText("2");
        drv.click(f.Btn_OK);
        EXPECT_FALSE(f.isOpen());
    });
    rows = storedRows(s.files.catchFile());
    const auto again = decodeBitmapFirst(QByteArray::fromStdString(rows[1].at("SHIO_ZU").bytes));
    EXPECT_EQ(QSize(again.width(), again.height()), QSize(400, 300));   // the same chart again
    EXPECT_EQ(ints(rows[1], kNewCols), (std::vector<int>{34, 100, 0, 80, 0, 0, 40, 32, 40, -10, 0, 0}));

    // No such record, a refusing server: failures, and the editor closes.
    for (const char* code : {"77", "9"}) {
        openEditor(drv, &browser, [&](TNew_Shio_InF& f) {
            f.Edit_CODE->setText(code);
            drv.click(f.Btn_OK);
            const QStringList m = drv.takeMessages();
            ASSERT_FALSE(m.isEmpty());
            EXPECT_EQ(m[0], "登録に失敗しました");
            if (QString(code) == "9") {
                ASSERT_EQ(m.size(), 2);
                EXPECT_TRUE(m[1].contains("tide update refused")) << m[1].toStdString();
            } else {
                EXPECT_EQ(m.size(), 1);
            }
            EXPECT_FALSE(f.isOpen());
        });
    }
    EXPECT_TRUE(storedRows(s.files.catchFile())[2].at("SHIO_ZU").null);

    // Without a picture 登録 closes and keeps the stored chart.
    openEditor(drv, &browser, [&](TNew_Shio_InF& f) {
        drv.click(f.Btn_Clear);
        drv.click(f.Btn_OK);
        EXPECT_FALSE(f.isOpen());
    });
    EXPECT_EQ(storedRows(s.files.catchFile())[0].at("SHIO_ZU").bytes, rows[0].at("SHIO_ZU").bytes);

    // A NULL chart read and registered stores zero bytes.
    execCatch({"update FISH_DATA set SHIO_ZU = NULL where CODENO = 2"});
    browser.Edit_No->setText("2");
    openEditor(drv, &browser, [&](TNew_Shio_InF& f) { drv.click(f.Btn_OK); });
    const auto r2 = storedRows(s.files.catchFile())[1];
    EXPECT_FALSE(r2.at("SHIO_ZU").null);
    EXPECT_TRUE(r2.at("SHIO_ZU").bytes.empty());
}

TEST(GeneralTideEditorEntry, HandsChartAndMarksToTheEntryWindowWhichStoresThem) {
    Session s;
    Driver drv;
    TFishDataIn entry(nullptr);
    DataMode = NEW_Flg;
    drv.show(entry);
    ShioMode = 0;
    QByteArray handed;
    drv.expectModal<TNew_Shio_InF>([&](TNew_Shio_InF& f) {
        EXPECT_EQ(DataMode, NEW_Flg);
        EXPECT_EQ(f.Edit_CODE->text(), "新規入力");
        drv.platform().clipboard = chart(500, 375);
        drv.click(f.Btn_In);
        drv.click(f.Btn_Time);
        drv.click(f.S_Btn_3);
        drag(drv, f.Shape_3, Qt::LeftButton, 100, 0);
        drv.click(f.S_Btn_1__);   // circle 3
        drv.click(f.Btn_OK);
        handed = tolvane::pictures::reencodedJpegBytes(f.Image_S->picture());
    });
    drv.dblClick(entry.Image_Shio);
    EXPECT_EQ(ShioNewMarks, (std::array<int, 12>{0, 0, 0, 0, 100, 80, 0, 0, 0, 0, 40, 88}));
    ASSERT_TRUE(entry.Image_Shio->picture().isJpeg());
    EXPECT_EQ(entry.Image_Shio->picture().jpegBytes(), handed);

    entry.Edit_Basyo->setText("東京湾");
    entry.Edit_F1->setText("アジ");
    drv.click(entry.Btn_New_Yes);
    EXPECT_EQ(drv.takeMessages(), QStringList{"入力完了"});
    const auto rows = storedRows(s.files.catchFile());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(QByteArray::fromStdString(rows[0].at("SHIO_ZU").bytes), handed);
    EXPECT_EQ(ints(rows[0], kNewCols), (std::vector<int>{0, 0, 0, 0, 100, 80, 0, 0, 0, 0, 40, 88}));
}

TEST(GeneralTideEditorSave, RefusesAChartOverTheReadersLimitBeforeWriting) {
    Session s;
    Driver drv;
    addRecord(1, jpegChart(50, 50));
    BrowserStandIn browser;
    drv.show(browser);
    DataMode = OLD_Flg;
    browser.Edit_No->setText("1");
    openEditor(drv, &browser, [&](TNew_Shio_InF& f) {
        // One bit a pixel keeps the test small; nothing paints it.
        QImage huge(10'001, 10'000, QImage::Format_Mono);
        huge.fill(0);
        f.Image_S->setVisible(false);
        f.Image_S->setPicture(pictures::Picture::fromBitmap(huge));
        drv.click(f.Btn_OK);
        const QStringList m = drv.takeMessages();
        ASSERT_EQ(m.size(), 2);
        EXPECT_EQ(m[0], "登録に失敗しました");
        EXPECT_FALSE(f.isOpen());
    });
    const auto stored = decodeBitmapFirst(QByteArray::fromStdString(storedRows(s.files.catchFile())[0].at("SHIO_ZU").bytes));
    EXPECT_EQ(stored.width(), 50);
}
