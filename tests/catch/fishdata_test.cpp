// The catch browser on fresh database files: the display of a record with its
// pictures and markers, the moves, the windows opened from it, the list sheet
// and the correction of a record read back on a connection of the test's own.
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QFontMetrics>
#include <QTextCursor>
#include <gtest/gtest.h>

#include "browser_fixture.h"
#include "catch/Fish_Data_IN.h"
#include "catch/WorkSheet_F2.h"
#include "app/Main_F.h"
#include "imaging/codec.h"
#include "support/test_pictures.h"

using namespace tolvane;
using browsertest::addTrip;
using browsertest::Browser;
using browsertest::gradient;
using browsertest::closeChild;
using browsertest::setBlob;
using catchtest::execCatch;
using catchtest::Session;
using catchtest::storedRows;
using tolvane::ui::testing::Driver;

namespace {

// A record with every typed column filled and the second fish's sizes NULL.
void addFullRecord(int no) {
    db::Query q(DM1->IBDB2, DM1->IBTr2);
    q.sqlAdd(
        "insert into FISH_DATA (CODENO, DAY_DATA, TENNKI, FUNE, BASYO, SHIO, KIJYUNN, KYUUREKI,"
        " OLD_SHIO, MAX1, MAX2, MAX1_HIGHT, MAX2_HIGHT, MIN1, MIN2, MIN1_LOW, MIN2_LOW, FISH1,"
        " FISH1_MAX, FISH1_MIN, FISH1_KAZU, FISH2, FISH3, FISH3_MAX, FISH3_MIN, FISH3_KAZU,"
        " SHIKAKE, BIKOU, TIME1_L, TIME1_T, TIME1_W, TIME1_H, TIME2_L, TIME2_T, TIME2_W, TIME2_H,"
        " NEW_1_S, NEW_6_E) values (:parNo, '2024/03/15', '晴れ', '第一丸', '東京湾', '大潮', '東京',"
        " '2月6日', 'x', '05:07', '17:40', 182, -3, '11:45', '23:59', 35, 0, 'アジ', 32, 18, 25,"
        " 'サバ', 'イサキ', 40, 28, 6, :parS, :parB, 101, -7, 33, -3, 80, 120, 60, 300, 5, 9)");
    q.paramByName("parNo").setInteger(no);
    q.paramByName("parS").setTextBlob("サビキ仕掛け\r\nハリス２号");
    q.paramByName("parB").setTextBlob("朝マズメ\r\n潮止まりで食い渋り\r\n");
    q.execQuery();
    DM1->IBTr2.commitRetaining();
}

QByteArray jpeg(int w, int h) { return pictures::encodeJpeg(gradient(w, h)); }

std::vector<ui::Button*> navigation(TFishdataF& w) {
    return {w.Btn_First, w.Btn_D_10, w.Btn_Prior, w.Btn_Next, w.Btn_U_10, w.Btn_Last};
}

bool browsing(TFishdataF& w) {
    for (auto* b : navigation(w))
        if (!b->enabled()) return false;
    return !w.Btn_Teisei->enabled() && !w.Btn_No->enabled();
}

bool correcting(TFishdataF& w) {
    for (auto* b : navigation(w))
        if (b->enabled()) return false;
    return w.Btn_Teisei->enabled() && w.Btn_No->enabled();
}

// Replaces the text of `box` as the user does: the program empties it, the
// user types the new text.
void retype(Driver& drv, ui::Edit* box, const QString& text) {
    box->setText(QString());
    if (text.isEmpty()) {
        drv.type(box, "x");
        drv.pressKey(box, Qt::Key_Backspace);
    } else {
        drv.type(box, text);
    }
}

}  // namespace

// --- display ---------------------------------------------------------------------------

TEST(CatchBrowserDisplay, AnEmptyTableShowsNumberZeroAndNothingElse) {
    Session s;
    Driver drv;
    ShioPicFlag = MapPicFlag = 1;
    Browser b(drv);
    TFishdataF& w = b.w;
    EXPECT_EQ(w.caption(), "釣果記録");
    EXPECT_EQ(w.size(), QSize(960, 710));
    EXPECT_EQ(w.Edit_No->text(), "0");
    for (auto* q : w.findChildren<QLineEdit*>()) {
        if (auto* e = dynamic_cast<ui::Edit*>(q); e != nullptr && e != w.Edit_No) {
            EXPECT_EQ(e->text(), "") << e->name().toStdString();
        }
    }
    EXPECT_EQ(w.Memo_Shikake->text(), "");
    for (auto* img : {w.Image_Shio, w.Image_Map, w.Image_A, w.Image_B, w.Image_C, w.Image_D})
        EXPECT_FALSE(img->hasPicture());
    EXPECT_EQ(w.Shape_1->bounds(), QRect(37, -5, 0, 0));
    EXPECT_EQ(w.Shape_2->bounds(), QRect(37, -5, 0, 0));
    EXPECT_EQ(ShioPicFlag, 0);
    EXPECT_EQ(MapPicFlag, 0);
    EXPECT_TRUE(browsing(w));
    EXPECT_EQ(w.Prg_Bar1->width(), 0);
    EXPECT_EQ(w.Label_HitN->caption(), "");
    // Moves on nothing show nothing, without a box.
    drv.click(w.Btn_Next);
    drv.click(w.Btn_D_10);
    EXPECT_EQ(w.Edit_No->text(), "0");
    drv.click(w.Btn_Return);
    EXPECT_FALSE(w.isOpen());
}

TEST(CatchBrowserDisplay, EveryColumnInItsBoxAndTheBoatWording) {
    Session s;
    Driver drv;
    addFullRecord(7);
    FuneWord = "船";
    {
        Browser b(drv);
        TFishdataF& w = b.w;
        EXPECT_EQ(w.Edit_No->text(), "7");
        EXPECT_EQ(w.Edit_Day->text(), "2024/03/15");
        EXPECT_EQ(w.Edit_Tenki->text(), "晴れ");
        EXPECT_EQ(w.Edit_Fune->text(), "第一丸");
        EXPECT_EQ(w.Edit_Place->text(), "東京湾");
        EXPECT_EQ(w.Edit_Shio->text(), "大潮");
        EXPECT_EQ(w.Edit_Shio_Kijyun->text(), "東京");
        EXPECT_EQ(w.Edit_Old_Day->text(), "2月6日");
        EXPECT_EQ(w.Edit_Old_Sho->text(), "x");
        EXPECT_FALSE(w.Edit_Old_Sho->visible());
        EXPECT_EQ(w.Edit_Max_T1->text(), "05:07");
        EXPECT_EQ(w.Edit_Max_T2->text(), "17:40");
        EXPECT_EQ(w.Edit_Max_H1->text(), "182");
        EXPECT_EQ(w.Edit_Max_H2->text(), "-3");
        EXPECT_EQ(w.Edit_Min_T1->text(), "11:45");
        EXPECT_EQ(w.Edit_Min_T2->text(), "23:59");
        EXPECT_EQ(w.Edit_Min_H1->text(), "35");
        EXPECT_EQ(w.Edit_Min_H2->text(), "0");   // zero is a value
        EXPECT_EQ(w.Edit_F1->text(), "アジ");
        EXPECT_EQ(w.Edit_F1_Max->text(), "32");
        EXPECT_EQ(w.Edit_F1_Min->text(), "18");
        EXPECT_EQ(w.Edit_F1_kazu->text(), "25");
        EXPECT_EQ(w.Edit_F2->text(), "サバ");
        EXPECT_EQ(w.Edit_F2_Max->text(), "");   // NULL integers stay empty
        EXPECT_EQ(w.Edit_F2_kazu->text(), "");
        EXPECT_EQ(w.Edit_F3->text(), "イサキ");
        EXPECT_EQ(w.Edit_F3_kazu->text(), "6");
        EXPECT_EQ(w.Memo_Shikake->text(), "サビキ仕掛け\r\nハリス２号");
        EXPECT_EQ(w.Memo_Cyouka->text(), "朝マズメ\r\n潮止まりで食い渋り\r\n");
        EXPECT_EQ(w.Edit_Fune->bounds(), QRect(264, 80, 121, 24));
        EXPECT_EQ(w.Label_x22->caption(), "船");
        // Odd and negative rectangles at half scale, truncated toward zero;
        // a negative height is no height.
        EXPECT_EQ(w.Shape_1->bounds(), QRect(87, -8, 16, 0));
        EXPECT_EQ(w.Shape_2->bounds(), QRect(77, 55, 30, 150));
        // Filling is no correction.
        EXPECT_TRUE(browsing(w));
        EXPECT_EQ(w.Edit_Day->imeMode(), ui::ImeMode::Off);
        EXPECT_EQ(w.Edit_Place->imeMode(), ui::ImeMode::Hiragana);
    }
    FuneWord = "ポイント";
    Browser b(drv);
    EXPECT_EQ(b.w.Edit_Fune->bounds(), QRect(304, 80, 121, 24));
    EXPECT_EQ(b.w.Label_x22->caption(), "ポイント");
}

TEST(CatchBrowserDisplay, TideChartsAsBitmapOrJpegMapAndTheThirdAndFourthPhotos) {
    Session s;
    Driver drv;
    addTrip(1, "2024/01/01", "東京湾", "アジ");
    addTrip(2, "2024/01/02", "東京湾", "アジ");
    const QByteArray bmp = pictures::writeBmp(gradient(64, 48));
    const QByteArray chart = jpeg(80, 60);
    const QByteArray photo = test::cameraJpeg(gradient(90, 70));
    setBlob(1, "SHIO_ZU", bmp);
    setBlob(2, "SHIO_ZU", chart);
    setBlob(2, "CHIZU", bmp);
    setBlob(2, "PHOTO3", photo);
    const QByteArray big = test::cameraJpeg(gradient(1280, 960));
    setBlob(2, "PHOTO4", big);
    Browser b(drv);
    TFishdataF& w = b.w;

    EXPECT_EQ(w.Edit_No->text(), "2");
    // A photo far larger than its box is shown from a small decode, yet it
    // stays the stored file, and its pixels are the full-size decode.
    ASSERT_TRUE(w.Image_D->hasPicture());
    EXPECT_EQ(w.Image_D->picture().jpegBytes(), big);
    EXPECT_EQ(w.Image_D->picture().pixels().size(), QSize(1280, 960));
    EXPECT_EQ(w.Image_D->picture().pixels(), pictures::decodeJpeg(big));
    EXPECT_EQ(ShioPicFlag, 1);
    EXPECT_EQ(MapPicFlag, 1);
    ASSERT_TRUE(w.Image_Shio->picture().isJpeg());
    EXPECT_EQ(w.Image_Shio->picture().jpegBytes(), chart);
    EXPECT_EQ(w.Image_Map->picture().width(), 64);
    EXPECT_FALSE(w.Image_A->hasPicture());
    EXPECT_FALSE(w.Image_B->hasPicture());
    ASSERT_TRUE(w.Image_C->hasPicture());
    EXPECT_EQ(w.Image_C->picture().jpegBytes(), photo);
    EXPECT_EQ(w.Prg_Bar1->width(), 0);
    EXPECT_EQ(w.Prg_Bar1->position(), 100);   // stood at the fourth photo
    // Rectangles NULL: empty shapes at (37, -5).
    EXPECT_EQ(w.Shape_1->bounds(), QRect(37, -5, 0, 0));

    drv.click(w.Btn_Prior);
    EXPECT_EQ(w.Edit_No->text(), "1");
    ASSERT_TRUE(w.Image_Shio->picture().isBitmap());
    EXPECT_EQ(w.Image_Shio->picture().width(), 64);
    EXPECT_EQ(MapPicFlag, 0);
    EXPECT_FALSE(w.Image_Map->hasPicture());
    EXPECT_FALSE(w.Image_C->hasPicture());
    EXPECT_FALSE(w.Image_D->hasPicture());
    EXPECT_EQ(w.Prg_Bar1->position(), 0);

    // While a new record is typed the shapes are not drawn.
    setBlob(1, "CHIZU", bmp);
    execCatch({"update FISH_DATA set TIME1_L = 100, TIME1_W = 40, TIME1_H = 40 where CODENO = 1"});
    DataMode = NEW_Flg;
    drv.click(w.Btn_All_Show);
    drv.click(w.Btn_First);
    EXPECT_EQ(w.Shape_1->bounds(), QRect(0, 0, 0, 0));
    DataMode = OLD_Flg;
    drv.click(w.Btn_First);
    EXPECT_EQ(w.Shape_1->bounds(), QRect(87, -5, 20, 20));
}

TEST(CatchBrowserDisplay, APictureThatDoesNotDecodeStopsNothingElse) {
    Session s;
    Driver drv;
    addTrip(1, "2024/01/01", "東京湾", "アジ");
    addTrip(2, "2024/01/02", "東京湾", "アジ");
    setBlob(1, "CHIZU", jpeg(30, 20));
    const QByteArray photo = jpeg(40, 30);
    setBlob(2, "SHIO_ZU", QByteArray("not a picture at all, neither bitmap nor jpeg"));
    setBlob(2, "PHOTO2", pictures::writeBmp(gradient(20, 10)));   // photos are JPEG only
    setBlob(2, "PHOTO3", photo);
    Browser b(drv);
    TFishdataF& w = b.w;
    auto errors = drv.takeErrors();
    ASSERT_EQ(errors.size(), 2);   // the tide chart, then the second photo
    drv.click(w.Btn_First);
    EXPECT_EQ(MapPicFlag, 1);
    EXPECT_TRUE(w.Image_Map->hasPicture());

    // Back on the broken record: both flags from their NULL tests, the
    // pictures that decode are shown, the bar is gone.
    drv.click(w.Btn_Next);
    EXPECT_EQ(drv.takeErrors().size(), 2);
    EXPECT_EQ(w.Edit_No->text(), "2");
    EXPECT_EQ(ShioPicFlag, 1);
    EXPECT_EQ(MapPicFlag, 0);
    EXPECT_FALSE(w.Image_Shio->hasPicture());
    EXPECT_FALSE(w.Image_Map->hasPicture());
    EXPECT_FALSE(w.Image_B->hasPicture());
    ASSERT_TRUE(w.Image_C->hasPicture());
    EXPECT_EQ(w.Image_C->picture().jpegBytes(), photo);
    EXPECT_EQ(w.Prg_Bar1->width(), 0);
    EXPECT_EQ(w.Edit_F1->text(), "アジ");
}

// --- moves -----------------------------------------------------------------------------------

TEST(CatchBrowserMoves, ByOneAndTenClampedAtBothEndsNewestFirst) {
    Session s;
    Driver drv;
    for (int i = 1; i <= 25; ++i) addTrip(i * 2, "2024/01/01", "東京湾", "アジ");
    Browser b(drv);
    TFishdataF& w = b.w;
    auto no = [&] { return w.Edit_No->text().toInt(); };
    EXPECT_EQ(no(), 50);
    drv.click(w.Btn_Next);   // the last stays
    EXPECT_EQ(no(), 50);
    drv.click(w.Btn_U_10);
    EXPECT_EQ(no(), 50);
    drv.click(w.Btn_D_10);
    EXPECT_EQ(no(), 30);
    drv.click(w.Btn_Prior);
    EXPECT_EQ(no(), 28);
    drv.click(w.Btn_First);
    EXPECT_EQ(no(), 2);
    drv.click(w.Btn_Prior);   // the first stays
    EXPECT_EQ(no(), 2);
    drv.click(w.Btn_D_10);
    EXPECT_EQ(no(), 2);
    drv.click(w.Btn_Next);
    drv.click(w.Btn_Next);
    EXPECT_EQ(no(), 6);   // the third
    drv.click(w.Btn_D_10);
    EXPECT_EQ(no(), 2);   // stops on the first
    drv.click(w.Btn_U_10);
    EXPECT_EQ(no(), 22);
    drv.click(w.Btn_U_10);
    drv.click(w.Btn_U_10);
    EXPECT_EQ(no(), 50);
    drv.click(w.Btn_Last);
    EXPECT_EQ(no(), 50);
    EXPECT_TRUE(browsing(w));
    EXPECT_TRUE(drv.takeMessages().isEmpty());
}

// --- windows opened from the browser --------------------------------------------------------------

TEST(CatchBrowserChildren, NewDataEntryAndDoubleClicksOnNothing) {
    Session s;
    Driver drv;
    addTrip(1, "2024/01/01", "東京湾", "アジ");
    Browser b(drv);
    TFishdataF& w = b.w;

    // No tide chart, map or photo: a double click opens nothing.
    drv.dblClick(w.Image_Shio);
    drv.dblClick(w.Image_Map);
    drv.dblClick(w.Image_B);
    EXPECT_TRUE(drv.shownWindows().isEmpty());

    drv.expectModal<TFishDataIn>([&](TFishDataIn& f) {
        EXPECT_EQ(DataMode, NEW_Flg);
        EXPECT_EQ(f.owner(), &w);
        EXPECT_EQ(f.Edit_No->text(), "2");
        f.Edit_Basyo->setText("相模湾");
        f.Edit_F1->setText("マダイ");
        drv.click(f.Btn_New_Yes);
        EXPECT_EQ(drv.takeMessages(), QStringList{"入力完了"});
        drv.closeByTitleBar(f);
    });
    drv.click(w.Btn_NewData);
    EXPECT_EQ(DataMode, OLD_Flg);
    EXPECT_EQ(w.Edit_No->text(), "1");   // no refresh
    drv.click(w.Btn_Last);
    EXPECT_EQ(w.Edit_No->text(), "1");   // not in the set yet
    drv.click(w.Btn_All_Show);
    EXPECT_EQ(w.Edit_No->text(), "2");
    EXPECT_EQ(w.Edit_Place->text(), "相模湾");
}

TEST(CatchBrowserChildren, TheLessonGetsPlaceFishNumberAndTheMonthWithoutZero) {
    Session s;
    Driver drv;
    {
        // No record: nothing is handed over.
        Browser b(drv);
        KadaiMode = -1;
        drv.click(b.w.Btn_Kadai);
        EXPECT_EQ(KadaiMode, -1);
        EXPECT_TRUE(drv.takeMessages().isEmpty());
    }
    addTrip(3, "2024/03/15", "東京湾", "アジ");
    addTrip(4, "2024/11/02", "相模湾", "マダイ");
    Browser b(drv);
    TFishdataF& w = b.w;
    auto kadai = [&] {
        closeChild(drv, "Kadai_InF");
        drv.click(w.Btn_Kadai);
        drv.takeBoxes();
    };
    kadai();
    EXPECT_EQ(KadaiMode, 1);
    EXPECT_EQ(KadaiMonth, "11");
    EXPECT_EQ(KadaiPlace, "相模湾");
    EXPECT_EQ(KadaiFish, "マダイ");
    EXPECT_EQ(KadaiPapaNo, 4);
    drv.click(w.Btn_Prior);
    kadai();
    EXPECT_EQ(KadaiMonth, "3");
    EXPECT_EQ(KadaiPapaNo, 3);

    // Typed boxes are handed over as they stand, the correction stays.
    retype(drv, w.Edit_Day, "2024/3/5");
    retype(drv, w.Edit_Place, "外房");
    kadai();
    EXPECT_EQ(KadaiMonth, "3");
    EXPECT_EQ(KadaiPlace, "外房");
    EXPECT_TRUE(correcting(w));

    // A date that does not read: the message, nothing set.
    KadaiMode = -1;
    KadaiMonth = "x";
    retype(drv, w.Edit_Day, "2024/13/45");
    drv.click(w.Btn_Kadai);
    EXPECT_EQ(drv.takeMessages(), QStringList{"日付の指定が間違っています"});
    EXPECT_EQ(KadaiMode, -1);
    EXPECT_EQ(KadaiMonth, "x");
}

TEST(CatchBrowserChildren, EditorsSetTheModeAndRefreshThePhotoWindowKeepsItsBookmark) {
    Session s;
    Driver drv;
    addTrip(1, "2024/01/01", "東京湾", "アジ");
    addTrip(2, "2024/01/02", "東京湾", "アジ");
    setBlob(1, "PHOTO1", jpeg(20, 20));
    Browser b(drv);
    TFishdataF& w = b.w;
    drv.click(w.Btn_First);
    retype(drv, w.Edit_Tenki, "雨");
    DataMode = NEW_Flg;
    w.Image_Map->setVisible(false);
    // Whatever the editor stored is shown again, the typed value dropped.
    execCatch({"update FISH_DATA set TENNKI = '曇り' where CODENO = 1"});
    closeChild(drv, "Fish_Chizu_InF");
    drv.click(w.Btn_Chizu);
    drv.takeBoxes();
    EXPECT_EQ(DataMode, OLD_Flg);
    EXPECT_TRUE(w.Image_Map->visible());
    EXPECT_EQ(w.Edit_No->text(), "1");
    EXPECT_EQ(w.Edit_Tenki->text(), "曇り");
    EXPECT_TRUE(browsing(w));

    DataMode = NEW_Flg;
    ShioMode = 0;
    closeChild(drv, "New_Shio_InF");
    drv.click(w.But_Cyoui);
    drv.takeBoxes();
    EXPECT_EQ(DataMode, OLD_Flg);
    EXPECT_EQ(w.Edit_No->text(), "1");

    PhotoBookmark = db::Bookmark{};
    closeChild(drv, "Photo_BigF");
    drv.dblClick(w.Image_A);
    drv.takeBoxes();
    EXPECT_FALSE(PhotoBookmark.valid());   // used and freed
    EXPECT_EQ(w.Edit_No->text(), "1");
    closeChild(drv, "Photo_BigF");
    drv.click(w.Btn_Photo);
    drv.takeBoxes();
    EXPECT_EQ(w.Edit_No->text(), "1");
}

// --- list sheet --------------------------------------------------------------------------------------

TEST(CatchBrowserSheet, APickedRowIsShownAndATitleBarCloseShowsTheCursorsRow) {
    Session s;
    Driver drv;
    for (int i = 1; i <= 5; ++i) addTrip(i, "2024/01/0" + std::to_string(i), "東京湾", "アジ");
    setBlob(3, "PHOTO1", jpeg(10, 10));
    Browser b(drv);
    TFishdataF& w = b.w;

    drv.expectModal<TWorkSheetF2>([&](TWorkSheetF2& f) {
        EXPECT_EQ(f.caption(), "釣果記録");
        EXPECT_EQ(f.DBGrid1->rowCount(), 5);
        ASSERT_EQ(f.DBGrid1->columns().size(), 7u);
        EXPECT_EQ(f.DBGrid1->columns()[3].title, "船");
        EXPECT_EQ(f.DBGrid1->cellText(0, 1), "2024/01/01");
        // Numbers and dates show whole; the text columns keep their widths.
        const QFontMetrics fm(f.DBGrid1->font());
        EXPECT_GT(f.DBGrid1->columnWidth(0), fm.horizontalAdvance(QStringLiteral("9999")));
        EXPECT_GT(f.DBGrid1->columnWidth(1), fm.horizontalAdvance(QStringLiteral("2024/01/01")));
        EXPECT_EQ(f.DBGrid1->columnWidth(2), 140);
        EXPECT_EQ(f.DBGrid1->columnWidth(6), 120);
        EXPECT_EQ(f.DBGrid1->currentRow(), 4);
        f.DBGrid1->setCurrentIndex(f.DBGrid1->model()->index(1, 0));
        drv.click(f.Btn_Close);
    });
    drv.click(w.Btn_worksheet);
    EXPECT_EQ(w.Edit_No->text(), "2");
    EXPECT_FALSE(DataBookmark.valid());
    drv.click(w.Btn_Next);
    EXPECT_EQ(w.Edit_No->text(), "3");
    EXPECT_TRUE(w.Image_A->hasPicture());

    // Twice running by the title bar: no earlier bookmark is used, the row
    // the grid left the cursor on is shown.
    for (int pickRow : {3, 0}) {
        drv.expectModal<TWorkSheetF2>([&](TWorkSheetF2& f) {
            f.DBGrid1->setCurrentIndex(f.DBGrid1->model()->index(pickRow, 0));
            drv.closeByTitleBar(f);
        });
        drv.click(w.Btn_worksheet);
        EXPECT_EQ(w.Edit_No->text(), QString::number(pickRow + 1));
        EXPECT_FALSE(DataBookmark.valid());
        EXPECT_TRUE(browsing(w));
    }
}

// --- correction ------------------------------------------------------------------------------------

TEST(CatchBrowserCorrection, TypingLocksTheMovesAndCancelRestores) {
    Session s;
    Driver drv;
    addFullRecord(1);
    addFullRecord(2);
    Browser b(drv);
    TFishdataF& w = b.w;
    EXPECT_TRUE(browsing(w));
    drv.type(w.Edit_Tenki, "x");
    EXPECT_TRUE(correcting(w));
    EXPECT_TRUE(w.Btn_All_Show->enabled());
    drv.click(w.Btn_No);
    EXPECT_EQ(w.Edit_Tenki->text(), "晴れ");
    EXPECT_TRUE(browsing(w));

    // A memo too.
    drv.type(w.Memo_Cyouka, "z");
    EXPECT_TRUE(correcting(w));
    drv.click(w.Btn_All_Show);
    EXPECT_TRUE(browsing(w));
    EXPECT_EQ(w.Memo_Cyouka->text(), "朝マズメ\r\n潮止まりで食い渋り\r\n");
    EXPECT_EQ(storedRows(s.files.catchFile())[1].at("TENNKI").text, "晴れ");
}

TEST(CatchBrowserCorrection, StoredAsTypedRoundedOrNullPicturesAndOtherRowsUntouched) {
    Session s;
    Driver drv;
    addFullRecord(1);
    addFullRecord(2);
    addFullRecord(3);
    const QByteArray chart = pictures::writeBmp(gradient(30, 20));
    const QByteArray photo = test::cameraJpeg(gradient(50, 40));
    setBlob(2, "SHIO_ZU", chart);
    setBlob(2, "PHOTO4", photo);
    const auto before = storedRows(s.files.catchFile());
    Browser b(drv);
    TFishdataF& w = b.w;
    drv.click(w.Btn_Prior);
    ASSERT_EQ(w.Edit_No->text(), "2");

    retype(drv, w.Edit_Max_H1, "152.5");
    retype(drv, w.Edit_Max_H2, "153.5");
    retype(drv, w.Edit_Min_H1, "");
    retype(drv, w.Edit_F1, "");
    retype(drv, w.Edit_F2, "");
    retype(drv, w.Edit_Max_T1, "6:5");
    retype(drv, w.Edit_Min_T2, "");
    retype(drv, w.Edit_Day, "2024/3/5");
    retype(drv, w.Edit_F3_kazu, "12");
    w.Memo_Shikake->setText("一行目\r\n二行目");
    w.Memo_Shikake->moveCursor(QTextCursor::End);
    drv.type(w.Memo_Shikake, "!");
    drv.click(w.Btn_Teisei);
    EXPECT_TRUE(drv.takeMessages().isEmpty());
    EXPECT_TRUE(browsing(w));
    EXPECT_EQ(w.Edit_No->text(), "2");
    EXPECT_EQ(w.Edit_Max_H1->text(), "152");

    const auto after = storedRows(s.files.catchFile());
    ASSERT_EQ(after.size(), 3u);
    const auto& r = after[1];
    EXPECT_EQ(r.at("MAX1_HIGHT").text, "152");
    EXPECT_EQ(r.at("MAX2_HIGHT").text, "154");
    EXPECT_TRUE(r.at("MIN1_LOW").null);
    EXPECT_FALSE(r.at("FISH1").null);
    EXPECT_EQ(r.at("FISH1").text, "");
    EXPECT_TRUE(r.at("FISH2").null);
    EXPECT_EQ(r.at("MAX1").text, "6:5");
    EXPECT_TRUE(r.at("MIN2").null);
    EXPECT_EQ(r.at("DAY_DATA").text, "2024/3/5");
    EXPECT_EQ(r.at("FISH3_KAZU").text, "12");
    EXPECT_EQ(r.at("SHIKAKE").text, "一行目\r\n二行目!");
    EXPECT_EQ(r.at("BIKOU").text, "朝マズメ\r\n潮止まりで食い渋り\r\n");
    EXPECT_TRUE(r.at("FISH2_MAX").null);
    // Pictures and markers byte for byte; the other rows as they were.
    for (const char* c : {"SHIO_ZU", "CHIZU", "PHOTO1", "PHOTO4", "TIME1_L", "TIME1_T", "TIME2_H",
                          "NEW_1_S", "NEW_6_E", "CODENO"}) {
        EXPECT_EQ(r.at(c).null, before[1].at(c).null) << c;
        EXPECT_EQ(r.at(c).bytes, before[1].at(c).bytes) << c;
    }
    EXPECT_EQ(r.at("SHIO_ZU").bytes, std::string(chart.constData(), chart.size()));
    for (int i : {0, 2})
        for (const auto& [column, v] : before[i]) {
            EXPECT_EQ(after[i].at(column).null, v.null) << column;
            EXPECT_EQ(after[i].at(column).bytes, v.bytes) << column;
        }
}

TEST(CatchBrowserCorrection, BadNumbersAndUnstorableTextKeepTheTypedValues) {
    Session s;
    Driver drv;
    addFullRecord(1);
    const auto before = storedRows(s.files.catchFile());
    Browser b(drv);
    TFishdataF& w = b.w;

    retype(drv, w.Edit_Tenki, "雨");
    retype(drv, w.Edit_F1_kazu, "abc");
    drv.click(w.Btn_Teisei);
    QStringList errors = drv.takeErrors();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("abc"));
    EXPECT_TRUE(correcting(w));
    EXPECT_EQ(w.Edit_F1_kazu->text(), "abc");
    EXPECT_EQ(w.Edit_Tenki->text(), "雨");

    // Group separators make no number: "1,000" is no count, "2,500.5" no height.
    for (auto [box, grouped] : {std::pair{w.Edit_F1_kazu, "1,000"}, std::pair{w.Edit_Max_H1, "2,500.5"}}) {
        retype(drv, box, grouped);
        drv.click(w.Btn_Teisei);
        errors = drv.takeErrors();
        ASSERT_EQ(errors.size(), 1) << grouped;
        EXPECT_TRUE(errors[0].contains(grouped)) << errors[0].toStdString();
        EXPECT_TRUE(correcting(w));
        EXPECT_EQ(box->text(), grouped);
        retype(drv, box, QString(grouped).remove(','));
    }

    // Blanks only in a height box fail too.
    retype(drv, w.Edit_F1_kazu, "3");
    retype(drv, w.Edit_Max_H1, "  ");
    ASSERT_EQ(w.Edit_Max_H1->text(), "  ");
    drv.click(w.Btn_Teisei);
    EXPECT_EQ(drv.takeErrors().size(), 1);
    EXPECT_TRUE(correcting(w));

    // A character Shift-JIS cannot hold: the box names it, nothing is sent.
    retype(drv, w.Edit_Max_H1, "100");
    retype(drv, w.Edit_Old_Day, "한");
    drv.click(w.Btn_Teisei);
    EXPECT_EQ(drv.takeMessages(), QStringList{"更新に失敗しました\n「旧暦」の「한」は登録できない文字です"});
    EXPECT_TRUE(correcting(w));
    EXPECT_EQ(w.Edit_Old_Day->text(), "한");
    const QString highWater = w.Edit_Max_T2->text();
    w.Edit_Max_T2->setText(QString());
    drv.focus(w.Edit_Max_T2);   // a time box takes no input-method text: pasted
    QApplication::clipboard()->setText("𩸽");
    drv.pressKey(w.Edit_Max_T2, Qt::Key_V, QString(), Qt::ControlModifier);
    drv.click(w.Btn_Teisei);
    EXPECT_EQ(drv.takeMessages(), QStringList{"更新に失敗しました\n「旧暦」の「한」は登録できない文字です"});
    retype(drv, w.Edit_Old_Day, "旧");
    drv.click(w.Btn_Teisei);
    EXPECT_EQ(drv.takeMessages(), QStringList{"更新に失敗しました\n「満潮」の「𩸽」は登録できない文字です"});
    EXPECT_EQ(w.Edit_Max_T2->text(), "𩸽");
    retype(drv, w.Edit_Max_T2, highWater);
    const auto after = storedRows(s.files.catchFile());
    for (const auto& [column, v] : before[0]) EXPECT_EQ(after[0].at(column).bytes, v.bytes) << column;

    // Mended, the same correction goes through.
    drv.click(w.Btn_Teisei);
    EXPECT_TRUE(browsing(w));
    EXPECT_EQ(storedRows(s.files.catchFile())[0].at("TENNKI").text, "雨");
    EXPECT_EQ(storedRows(s.files.catchFile())[0].at("MAX1_HIGHT").text, "100");
}

TEST(CatchBrowserCorrection, ARefusedOrEmptyCorrectionFailsAndShowsTheStoredRecord) {
    Session s;
    Driver drv;
    {
        // The empty display updates no row: a failure, not a success.
        Browser b(drv);
        retype(drv, b.w.Edit_Tenki, "晴れ");
        drv.click(b.w.Btn_Teisei);
        EXPECT_EQ(drv.takeMessages(), QStringList{"更新に失敗しました"});
        EXPECT_EQ(b.w.Edit_Tenki->text(), "");
        EXPECT_EQ(b.w.Edit_No->text(), "0");
        EXPECT_TRUE(browsing(b.w));
    }
    addFullRecord(1);
    Browser b(drv);
    TFishdataF& w = b.w;
    // Longer than the column: typing cannot get there, the program can.
    w.Edit_Place->setText("とても長い場所の名前でございますよ二十一");
    retype(drv, w.Edit_Tenki, "雨");
    drv.click(w.Btn_Teisei);
    EXPECT_EQ(drv.takeMessages(), QStringList{"更新に失敗しました"});
    EXPECT_EQ(w.Edit_Place->text(), "東京湾");
    EXPECT_EQ(w.Edit_Tenki->text(), "晴れ");
    EXPECT_TRUE(browsing(w));
    EXPECT_EQ(storedRows(s.files.catchFile())[0].at("TENNKI").text, "晴れ");
    // The transaction is usable afterwards.
    retype(drv, w.Edit_Tenki, "雨");
    drv.click(w.Btn_Teisei);
    EXPECT_TRUE(drv.takeMessages().isEmpty());
    EXPECT_EQ(storedRows(s.files.catchFile())[0].at("TENNKI").text, "雨");
}

TEST(CatchBrowserCorrection, TextLongerThanItsColumnIsRefusedAsTypedAndAsPasted) {
    Session s;
    addFullRecord(1);
    Driver drv;
    Browser b(drv);
    TFishdataF& w = b.w;
    const std::pair<ui::Edit*, int> widths[] = {
        {w.Edit_Day, 20},    {w.Edit_Tenki, 20},  {w.Edit_Place, 20},       {w.Edit_Fune, 20},
        {w.Edit_Shio, 20},   {w.Edit_Shio_Kijyun, 20}, {w.Edit_Old_Day, 10}, {w.Edit_Old_Sho, 20},
        {w.Edit_Max_T1, 10}, {w.Edit_Max_T2, 10}, {w.Edit_Min_T1, 10},      {w.Edit_Min_T2, 10},
        {w.Edit_F1, 20},     {w.Edit_F2, 20},     {w.Edit_F3, 20}};
    for (const auto& [box, bytes] : widths) EXPECT_EQ(box->maxBytes(), bytes) << box->name().toStdString();

    const QString tooLong = QStringLiteral("オニカサゴ（イズカサゴ）");   // 24 bytes
    retype(drv, w.Edit_F1, tooLong);
    EXPECT_EQ(w.Edit_F1->text(), "オニカサゴ（イズカサ");
    retype(drv, w.Edit_Old_Day, "旧暦3月15日");
    EXPECT_EQ(w.Edit_Old_Day->text(), "旧暦3月15");
    // A paste that would pass the limit changes nothing.
    QApplication::clipboard()->setText(tooLong);
    drv.focus(w.Edit_Place);
    w.Edit_Place->selectAll();
    drv.pressKey(w.Edit_Place, Qt::Key_V, QString(), Qt::ControlModifier);
    EXPECT_EQ(w.Edit_Place->text(), "東京湾");

    drv.click(w.Btn_Teisei);
    EXPECT_TRUE(drv.takeMessages().isEmpty());
    const auto rows = storedRows(s.files.catchFile());
    EXPECT_EQ(rows[0].at("FISH1").text, "オニカサゴ（イズカサ");
    EXPECT_EQ(rows[0].at("KYUUREKI").text, "旧暦3月15");
    EXPECT_EQ(rows[0].at("BASYO").text, "東京湾");
}

// --- main window --------------------------------------------------------------------------------------

TEST(CatchBrowserMainWindow, DataDisplayOpensTheBrowserAndDataInputTheEntryWindow) {
    Session s;
    Driver drv;
    addTrip(5, "2024/05/05", "東京湾", "アジ");
    TMainF main;
    drv.show(main);
    drv.takeMessages();   // the lessons-table message of a fresh memo file
    drv.expectModal<TFishdataF>([&](TFishdataF& f) {
        EXPECT_EQ(f.name(), "FishdataF");
        EXPECT_EQ(FishdataF, &f);
        EXPECT_EQ(f.Edit_No->text(), "5");
        drv.click(f.Btn_Return);
    });
    drv.click(main.Btn_Data_Out);
    EXPECT_EQ(FishdataF, nullptr);
    drv.expectModal<TFishDataIn>([&](TFishDataIn& f) {
        EXPECT_EQ(DataMode, NEW_Flg);
        drv.click(f.Btn_Close);
    });
    drv.click(main.Btn_Data_In);
    EXPECT_EQ(DataMode, OLD_Flg);
}
