// The rectangle-style tide editor: opening from the browser and the entry
// window, placing the rectangles, toggles and modifiers, clamps, file loads,
// and 登録 into the record or the entry window.
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "catch/Fish_Data_IN.h"
#include "pictures/storage.h"
#include "support/test_pictures.h"
#include "tide/Fish_Shio_In_F.h"
#include "tide_fixture.h"
#include "ui/testing/driver.h"

using namespace tolvane;
using namespace tidetest;
using tolvane::ui::testing::Driver;

namespace {

void openEditor(Driver& drv, ui::Form* owner, std::function<void(TFish_Shio_InF&)> script) {
    openWindow(drv, Fish_Shio_InF, owner, std::move(script));
}

void drag(Driver& drv, ui::Shape* s, Qt::MouseButtons held, QPoint by,
          Qt::KeyboardModifiers mods = Qt::NoModifier) {
    const Qt::MouseButton b = held & Qt::LeftButton ? Qt::LeftButton : Qt::RightButton;
    drv.mouseDown(s, b, {5, 5}, mods);
    drv.mouseMove(s, QPoint(5, 5) + by, held, mods);
    drv.mouseUp(s, b, QPoint(5, 5) + by, mods);
}

QString writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = QDir::current().absoluteFilePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

// Rows from the first to the last that hold dark pixels (text) in `w`.
int inkHeight(QWidget& w) {
    const QImage img = w.grab().toImage();
    int first = -1, last = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 100) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    return first < 0 ? 0 : last - first + 1;
}

}  // namespace

TEST(RectangleTideEditorOpen, ShowsTheBrowsersChartAndStoredRectangles) {
    Session s;
    Driver drv;
    addRecord(1, jpegChart(320, 240));
    setColumns(1, "TIME1_L = 167, TIME1_T = 48, TIME1_W = 113, TIME1_H = 433,"
                " TIME2_L = 216, TIME2_T = 48, TIME2_W = 2, TIME2_H = 433");
    BrowserStandIn browser;
    drv.show(browser);
    DataMode = OLD_Flg;
    ShioPicFlag = 1;
    browser.Edit_No->setText("1");
    const auto jpeg = pictures::Picture::fromJpeg(jpegChart(320, 240));
    browser.Image_Shio->setPicture(jpeg);
    openEditor(drv, &browser, [&](TFish_Shio_InF& f) {
        EXPECT_EQ(f.caption(), "潮位");
        EXPECT_EQ(f.size(), QSize(682, 526));
        EXPECT_EQ(f.Edit_CODE->text(), "1");
        EXPECT_EQ(f.Label_XY->caption(), "jpg");
        EXPECT_EQ(f.Image_S->picture().jpegBytes(), jpeg.jpegBytes());   // the same format
        EXPECT_EQ(f.Btn_Time->caption(), "釣り時間の表示");
        EXPECT_FALSE(f.S_Btn_1->isEnabled());
        EXPECT_TRUE(f.Shape_1->visible());
        EXPECT_EQ(f.Shape_1->bounds(), QRect(167, 48, 113, 433));
        EXPECT_FALSE(f.Shape_2->visible());   // 2 wide: not shown
        // Entering: both at their stored bounds (from a width of 2).
        drv.click(f.Btn_Time);
        EXPECT_EQ(f.Btn_Time->caption(), "時間の編集中");
        EXPECT_EQ(f.FTimeEditing, 1);
        EXPECT_TRUE(f.S_Btn_1->isEnabled());
        EXPECT_TRUE(f.Shape_2->visible());
        EXPECT_EQ(f.Shape_2->bounds(), QRect(216, 48, 2, 433));
        drv.click(f.Btn_Return);
    });

    browser.Image_Shio->setPicture(pictures::Picture::fromBitmap(chart(300, 200)));
    setColumns(1, "TIME1_W = NULL");
    openEditor(drv, &browser, [&](TFish_Shio_InF& f) {
        EXPECT_EQ(f.Label_XY->caption(), "300 * 200");
        EXPECT_FALSE(f.Shape_1->visible());
        drv.click(f.Btn_Time);
        EXPECT_EQ(f.Shape_1->bounds(), QRect(167, 31, 113, 445));
        EXPECT_EQ(f.Shape_2->bounds(), QRect(216, 31, 33, 445));
        EXPECT_EQ(f.Btn_001->caption(), "-");
        // Leaving keeps the rectangles where they are.
        drv.click(f.Btn_Time);
        EXPECT_EQ(f.Btn_Time->caption(), "釣り時間の表示");
        EXPECT_EQ(f.FTimeEditing, 0);
        EXPECT_FALSE(f.Btn_001->isEnabled());
        EXPECT_EQ(f.Shape_1->bounds(), QRect(167, 31, 113, 445));
        drv.click(f.Btn_Return);
    });

    ShioPicFlag = 0;   // a record without chart
    setColumns(1, "TIME1_W = 113");
    openEditor(drv, &browser, [&](TFish_Shio_InF& f) {
        EXPECT_FALSE(f.Image_S->hasPicture());
        EXPECT_EQ(f.Label_XY->caption(), "");
        EXPECT_EQ(f.Shape_1->bounds(), QRect(167, 48, 113, 433));
        drv.click(f.Btn_Time);
        EXPECT_EQ(f.Shape_1->bounds(), QRect(167, 48, 113, 433));
        EXPECT_EQ(f.Shape_2->bounds(), QRect(216, 48, 33, 433));
        drv.click(f.Btn_Return);
    });

    for (const char* bad : {"", "x1"}) {
        browser.Edit_No->setText(bad);
        openEditor(drv, &browser, [&](TFish_Shio_InF& f) {
            EXPECT_EQ(drv.takeMessages(), QStringList{"コード番号取得失敗"});
            EXPECT_FALSE(f.isOpen());
        });
    }
}

TEST(RectangleTideEditorMarking, TogglesButtonsModifiersAndClamps) {
    Session s;
    Driver drv;
    DataMode = NEW_Flg;
    openEditor(drv, nullptr, [&](TFish_Shio_InF& f) {
        EXPECT_EQ(f.Edit_CODE->text(), "新規入力");
        drv.click(f.Btn_Time);   // no record read: nothing fails
        EXPECT_TRUE(drv.takeBoxes().empty());
        EXPECT_EQ(f.Shape_1->bounds(), QRect(167, 48, 113, 433));

        // Removing and restoring by the button's own caption.
        drv.click(f.Btn_001);
        EXPECT_EQ(f.Shape_1->bounds(), QRect(0, 0, 0, 0));
        EXPECT_EQ(f.Btn_001->caption(), "+");
        drv.click(f.Btn_001);
        EXPECT_EQ(f.Shape_1->bounds(), QRect(167, 48, 113, 433));
        drv.click(f.Btn_002);
        drv.click(f.Btn_002);
        EXPECT_EQ(f.Shape_2->bounds(), QRect(216, 48, 33, 433));

        // Not pressed: no drag, but the release clamps.
        f.Shape_1->setBounds(5, 48, 2, 100);
        drag(drv, f.Shape_1, Qt::LeftButton, {50, 0});
        EXPECT_EQ(f.Shape_1->bounds(), QRect(16, 48, 10, 100));

        drv.click(f.S_Btn_1);
        EXPECT_TRUE(f.S_Btn_1->down());
        EXPECT_EQ(f.FMode, 1);
        EXPECT_EQ(f.S_Btn_1->fontColor(), QColor(255, 0, 0));
        drv.click(f.S_Btn_1);   // pressing it again keeps it down
        EXPECT_TRUE(f.S_Btn_1->down());
        f.Shape_1->setBounds(100, 48, 100, 200);
        drag(drv, f.Shape_1, Qt::LeftButton, {30, 20});
        EXPECT_EQ(f.Shape_1->bounds(), QRect(130, 48, 100, 200));
        drag(drv, f.Shape_1, Qt::LeftButton, {30, 20}, Qt::ShiftModifier);
        EXPECT_EQ(f.Shape_1->bounds(), QRect(130, 68, 100, 200));
        drag(drv, f.Shape_1, Qt::RightButton, {-40, 20});
        EXPECT_EQ(f.Shape_1->bounds(), QRect(130, 68, 60, 200));
        drag(drv, f.Shape_1, Qt::RightButton, {10, 50}, Qt::ShiftModifier);
        EXPECT_EQ(f.Shape_1->bounds(), QRect(130, 68, 60, 250));
        drag(drv, f.Shape_1, Qt::LeftButton | Qt::RightButton, {40, 40});
        drag(drv, f.Shape_1, Qt::LeftButton, {40, 40}, Qt::ControlModifier);
        EXPECT_EQ(f.Shape_1->bounds(), QRect(130, 68, 60, 250));
        // Shift+right above its own top: held at 0, 10 high at the release.
        drv.mouseDown(f.Shape_1, Qt::RightButton, {5, 5}, Qt::ShiftModifier);
        drv.mouseMove(f.Shape_1, {5, -300}, Qt::RightButton, Qt::ShiftModifier);
        EXPECT_EQ(f.Shape_1->height(), 0);
        drv.mouseUp(f.Shape_1, Qt::RightButton, {5, -300}, Qt::ShiftModifier);
        EXPECT_EQ(f.Shape_1->bounds(), QRect(130, 68, 60, 10));

        // Shape_2 is not chosen: its drag does nothing.
        drag(drv, f.Shape_2, Qt::LeftButton, {30, 0});
        EXPECT_EQ(f.Shape_2->left(), 216);
        drv.click(f.S_Btn_2);
        EXPECT_FALSE(f.S_Btn_1->down());
        EXPECT_EQ(f.S_Btn_1->fontColor(), QColor(Qt::black));
        drag(drv, f.Shape_2, Qt::LeftButton, {30, 0});
        EXPECT_EQ(f.Shape_2->left(), 246);

        // The right edge: 480 + 60 cut to 36, 480 + 30 kept, cut to nothing: 10 on the edge.
        for (auto [l, w, expected] : {std::tuple{480, 60, QRect(480, 48, 36, 433)},
                                      std::tuple{480, 30, QRect(480, 48, 30, 433)},
                                      std::tuple{515, 30, QRect(506, 48, 10, 433)},
                                      std::tuple{700, 30, QRect(506, 48, 10, 433)}}) {
            f.Shape_2->setBounds(l, 48, w, 433);
            drag(drv, f.Shape_2, Qt::LeftButton, {0, 0});
            EXPECT_EQ(f.Shape_2->bounds(), expected) << l << " " << w;
        }

        // Leaving the mode: the pressed toggle still drags.
        drv.click(f.Btn_Time);
        EXPECT_EQ(f.S_Btn_2->palette().color(QPalette::Active, QPalette::WindowText), QColor(Qt::black));
        EXPECT_TRUE(f.S_Btn_2->down());
        f.Shape_2->setBounds(200, 48, 33, 433);
        drag(drv, f.Shape_2, Qt::LeftButton, {10, 0});
        EXPECT_EQ(f.Shape_2->left(), 210);
        drv.click(f.Btn_Return);
    });
}

TEST(RectangleTideEditorInput, PastesAndLoadsFilesWithTheirLabels) {
    Session s;
    Driver drv;
    DataMode = NEW_Flg;
    const QString jpg = writeFile("chart.jpg", tolvane::test::cameraJpeg(chart(640, 480)));
    const QString bad = writeFile("broken.jpg", QByteArray("not a picture at all"));
    openEditor(drv, nullptr, [&](TFish_Shio_InF& f) {
        drv.click(f.Btn_In);
        EXPECT_EQ(drv.takeMessages(), QStringList{"クリップボードに画像がありません"});
        drv.platform().clipboard = chart(900, 700);
        drv.click(f.Btn_In);
        EXPECT_EQ(f.Label_XY->caption(), "900 * 700");
        EXPECT_EQ(f.size(), QSize(682, 526));   // the window keeps its size
        const int oneLine = inkHeight(*f.Label_XY);

        drv.platform().pictureFileAnswers = {jpg};
        drv.click(f.Btn_F_In);
        EXPECT_EQ(f.Label_XY->caption(), QString("BitMapのサイズ　") + QChar(13) + "640 * 480");
        // shown as two lines, the size below its heading
        EXPECT_GT(inkHeight(*f.Label_XY), 3 * oneLine / 2);
        EXPECT_TRUE(f.Image_S->picture().isBitmap());

        drv.platform().pictureFileAnswers = {bad};
        drv.click(f.Btn_F_In);
        EXPECT_EQ(drv.takeMessages(), QStringList{"対応していないフォーマットです"});
        EXPECT_EQ(f.Image_S->picture().width(), 640);

        // Widened by the user: the right column moves along, its labels whole.
        f.resize(900, 526);
        drv.processEvents();
        EXPECT_EQ(f.Label_XY->bounds(), QRect(536 + 218, 32, 146, 40));
        EXPECT_EQ(f.Label3->left(), 536 + 218);
        EXPECT_TRUE(Driver::cutLabels(f).isEmpty()) << Driver::cutLabels(f).join(' ').toStdString();

        drv.click(f.Btn_Time);
        drv.click(f.Btn_Clear);
        EXPECT_FALSE(f.Image_S->hasPicture());
        EXPECT_FALSE(f.Shape_1->visible());
        EXPECT_EQ(f.Label_XY->caption(), "");
        drv.click(f.Btn_Return);
    });
}

TEST(RectangleTideEditorSave, StoresShownRectanglesAndZerosForHiddenOnes) {
    Session s;
    addRefusingTrigger(s.files.catchFile());
    Driver drv;
    addRecord(1, jpegChart(300, 200));
    addRecord(2, jpegChart(300, 200));
    addRecord(9, std::nullopt);
    BrowserStandIn browser;
    drv.show(browser);
    DataMode = OLD_Flg;
    ShioPicFlag = 1;
    browser.Image_Shio->setPicture(pictures::Picture::fromBitmap(chart(300, 200)));
    browser.Edit_No->setText("1");

    // Rectangle 1 removed with "-": zeros for it, bounds for rectangle 2.
    openEditor(drv, &browser, [&](TFish_Shio_InF& f) {
        drv.click(f.Btn_Time);
        drv.click(f.Btn_001);
        drv.click(f.Btn_OK);
        EXPECT_FALSE(f.isOpen());
    });
    auto rows = storedRows(s.files.catchFile());
    EXPECT_EQ(ints(rows[0], kTimeCols), (std::vector<int>{0, 0, 0, 0, 216, 31, 33, 445}));
    const auto stored = pictures::decodeBitmapFirst(QByteArray::fromStdString(rows[0].at("SHIO_ZU").bytes));
    EXPECT_TRUE(stored.isJpeg());
    EXPECT_EQ(stored.width(), 300);

    // Rectangle 1 hidden at show, rectangle 2 shown: rectangle 2 is kept.
    setColumns(2, "TIME1_W = 0, TIME2_L = 200, TIME2_T = 60, TIME2_W = 40, TIME2_H = 300");
    browser.Edit_No->setText("2");
    openEditor(drv, &browser, [&](TFish_Shio_InF& f) { drv.click(f.Btn_OK); });
    EXPECT_EQ(ints(storedRows(s.files.catchFile())[1], kTimeCols),
              (std::vector<int>{0, 0, 0, 0, 200, 60, 40, 300}));

    // 消去 then 登録: the chart becomes NULL and the hidden rectangles zeros.
    openEditor(drv, &browser, [&](TFish_Shio_InF& f) {
        drv.click(f.Btn_Time);
        drv.click(f.Btn_Clear);
        drv.click(f.Btn_OK);
    });
    rows = storedRows(s.files.catchFile());
    EXPECT_TRUE(rows[1].at("SHIO_ZU").null);
    EXPECT_EQ(ints(rows[1], kTimeCols), (std::vector<int>(8, 0)));

    // Letters write nothing; no such record and a refusing server fail.
    openEditor(drv, &browser, [&](TFish_Shio_InF& f) {
        f.Edit_CODE->setText("zz");
        drv.click(f.Btn_OK);
        EXPECT_EQ(drv.takeMessages(), QStringList{"コード番号取得失敗"});
        EXPECT_TRUE(f.isOpen());
        f.Edit_CODE->setText("55");
        drv.click(f.Btn_OK);
        EXPECT_EQ(drv.takeMessages(), QStringList{"登録に失敗しました"});
        EXPECT_FALSE(f.isOpen());
    });
    browser.Edit_No->setText("9");
    openEditor(drv, &browser, [&](TFish_Shio_InF& f) {
        drv.click(f.Btn_OK);
        EXPECT_EQ(drv.takeMessages(), QStringList{"登録に失敗しました"});
    });
    EXPECT_TRUE(storedRows(s.files.catchFile())[2].at("SHIO_ZU").null);
}

TEST(RectangleTideEditorEntry, HandsChartAndRectanglesToTheEntryWindowAtHalfScale) {
    Session s;
    Driver drv;
    TFishDataIn entry(nullptr);
    DataMode = NEW_Flg;
    drv.show(entry);
    ShioMode = 1;
    ShioNewMarks.fill(7);
    drv.expectModal<TFish_Shio_InF>([&](TFish_Shio_InF& f) {
        drv.platform().clipboard = chart(500, 400);
        drv.click(f.Btn_In);
        drv.click(f.Btn_Time);
        drv.click(f.Btn_Time);   // leaving the mode keeps the rectangles
        drv.click(f.Btn_OK);
    });
    drv.dblClick(entry.Image_Shio);
    EXPECT_EQ(ShioTimeRects, (std::array<int, 8>{167, 48, 113, 433, 216, 48, 33, 433}));
    EXPECT_EQ(ShioNewMarks, (std::array<int, 12>{}));
    EXPECT_TRUE(entry.Image_Shio->picture().isJpeg());
    EXPECT_EQ(entry.Shape_1->bounds(), QRect(120, 19, 56, 216));
    EXPECT_EQ(entry.Shape_2->bounds(), QRect(145, 19, 16, 216));

    // Without a picture nothing is handed over.
    drv.expectModal<TFish_Shio_InF>([&](TFish_Shio_InF& f) {
        EXPECT_FALSE(f.Image_S->hasPicture());   // the earlier hand-over is not shown
        drv.click(f.Btn_OK);
    });
    drv.click(entry.But_Cyoui);
    EXPECT_TRUE(entry.Image_Shio->picture().isJpeg());
    EXPECT_EQ(ShioTimeRects, (std::array<int, 8>{167, 48, 113, 433, 216, 48, 33, 433}));

    // 入　力 stores the editor's bytes and rectangles with the new record.
    const QByteArray handed = entry.Image_Shio->picture().jpegBytes();
    entry.Edit_Basyo->setText("東京湾");
    entry.Edit_F1->setText("アジ");
    drv.click(entry.Btn_New_Yes);
    EXPECT_EQ(drv.takeMessages(), QStringList{"入力完了"});
    const auto rows = storedRows(s.files.catchFile());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(QByteArray::fromStdString(rows[0].at("SHIO_ZU").bytes), handed);
    EXPECT_EQ(ints(rows[0], kTimeCols), (std::vector<int>{167, 48, 113, 433, 216, 48, 33, 433}));
}

TEST(RectangleTideEditorSave, RefusesAChartOverTheReadersLimitBeforeWriting) {
    Session s;
    Driver drv;
    addRecord(1, std::nullopt);
    BrowserStandIn browser;
    drv.show(browser);
    DataMode = OLD_Flg;
    ShioPicFlag = 0;
    browser.Edit_No->setText("1");
    openEditor(drv, &browser, [&](TFish_Shio_InF& f) {
        QImage huge(10'001, 10'000, QImage::Format_Mono);
        huge.fill(0);
        f.Image_S->setVisible(false);
        f.Image_S->setPicture(pictures::Picture::fromBitmap(huge));
        drv.click(f.Btn_OK);
        EXPECT_EQ(drv.takeMessages(), QStringList{"登録に失敗しました"});
    });
    EXPECT_TRUE(storedRows(s.files.catchFile())[0].at("SHIO_ZU").null);
}
