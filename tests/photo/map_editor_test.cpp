// The map editor opened by the real catch entry window and by a stand-in
// catch browser: the hand-over to the entry window, the update of CHIZU with
// its checks and failures, the loads and the size label.
#include <QDate>
#include <gtest/gtest.h>

#include "catch/Fish_Data_IN.h"
#include "photo/Fish_Chizu_In_F.h"
#include "photo_fixture.h"
#include "imaging/codec.h"
#include "ui/testing/driver.h"

using namespace tolvane;
using namespace phototest;
using tolvane::pictures::Picture;
using tolvane::test::cameraJpeg;
using tolvane::ui::testing::Driver;

namespace {

std::string chizuOf(int code) {
    return "select CHIZU from FISH_DATA where CODENO = " + std::to_string(code);
}

// Two records, both with the same camera map.
QByteArray twoRecordsWithMaps(Session& s) {
    const QByteArray map = cameraJpeg(gradient(64, 48));
    test::runSql(s.files.catchFile(), {"insert into FISH_DATA (CODENO) values (1)",
                                       "insert into FISH_DATA (CODENO) values (2)"});
    putBlob(s.files.catchFile(), "update FISH_DATA set CHIZU = :parB", map);
    return map;
}

// The browser showing record `no` with `map`, the editor opened from it.
void openFromBrowser(Driver& drv, Browser& b, const QString& no, const Picture& map,
                     std::function<void(TFish_Chizu_InF&)> script) {
    b.Edit_No->setText(no);
    b.Image_Map->setPicture(map);
    MapPicFlag = map.isNone() ? 0 : 1;
    DataMode = OLD_Flg;
    drv.expectModal<TFish_Chizu_InF>(std::move(script));
    ui::openModal(Fish_Chizu_InF, &b);
    EXPECT_EQ(Fish_Chizu_InF, nullptr);
}

}  // namespace

TEST(MapEditorEntry, HandsTheEncodedPictureToTheEntryWindowWhichStoresItsBytes) {
    Session s;
    Driver drv;
    DataMode = NEW_Flg;
    TFishDataIn entry(nullptr);
    drv.show(entry);
    entry.Edit_Basyo->setText("東京湾");
    entry.Edit_F1->setText("アジ");

    // Double click on the map: a paste reaches the entry window, encoded.
    drv.platform().clipboard = gradient(40, 30);
    drv.expectModal<TFish_Chizu_InF>([&](TFish_Chizu_InF& f) {
        EXPECT_EQ(f.caption(), "地図・仕掛け");
        EXPECT_EQ(f.size(), QSize(690, 560));
        EXPECT_EQ(f.minimumSize(), f.maximumSize());
        EXPECT_EQ(f.Edit_CODE->text(), "新規入力");
        EXPECT_EQ(f.Label_XY->caption(), "");
        EXPECT_FALSE(f.Image_M->hasPicture());
        drv.click(f.Btn_In);
        EXPECT_EQ(f.Label_XY->caption(), "40 * 30");
        drv.click(f.Btn_OK);
        EXPECT_FALSE(f.isOpen());
    });
    drv.dblClick(entry.Image_Map);
    EXPECT_EQ(DataMode, NEW_Flg);
    ASSERT_TRUE(entry.Image_Map->picture().isJpeg());
    const QByteArray handed = entry.Image_Map->picture().jpegBytes();
    EXPECT_EQ(pictures::decodeJpeg(handed).size(), QSize(40, 30));

    // The button opens it too; 消去 + 登録 and 戻る leave the map as it was.
    drv.expectModal<TFish_Chizu_InF>([&](TFish_Chizu_InF& f) {
        EXPECT_EQ(f.Edit_CODE->text(), "新規入力");
        EXPECT_FALSE(f.Image_M->hasPicture());   // the editor starts empty
        drv.click(f.Btn_Clear);
        drv.click(f.Btn_OK);
    });
    drv.click(entry.Btn_Chizu);
    drv.platform().clipboard = gradient(8, 8);
    drv.expectModal<TFish_Chizu_InF>([&](TFish_Chizu_InF& f) {
        drv.click(f.Btn_In);
        drv.click(f.Btn_Return);
    });
    drv.click(entry.Btn_Chizu);
    EXPECT_EQ(entry.Image_Map->picture().jpegBytes(), handed);

    // Nothing was written until "入　力", which stores the editor's bytes.
    tolvane::db::Connection c;
    c.databaseName = s.files.catchFile();
    {
        tolvane::db::Transaction t(c);
        tolvane::db::Query q(c, t);
        q.sqlAdd("select count(*) from FISH_DATA");
        q.open();
        EXPECT_EQ(q.fields(0).asInteger(), 0);
    }
    drv.click(entry.Btn_New_Yes);
    EXPECT_EQ(drv.takeMessages(), QStringList{"入力完了"});
    EXPECT_EQ(storedBlob(s.files.catchFile(), chizuOf(1)), (Blob{false, handed}));

    // The next record's map from a JPEG file: stored re-encoded, same size.
    const QByteArray file = cameraJpeg(gradient(64, 48));
    drv.platform().pictureFileAnswers = {writeFile("spot.jpg", file)};
    drv.expectModal<TFish_Chizu_InF>([&](TFish_Chizu_InF& f) {
        drv.click(f.Btn_File);
        drv.click(f.Btn_OK);
    });
    drv.click(entry.Btn_Chizu);
    entry.Edit_Basyo->setText("相模湾");
    entry.Edit_F1->setText("サバ");
    drv.click(entry.Btn_New_Yes);
    EXPECT_EQ(drv.takeMessages(), QStringList{"入力完了"});
    const Blob second = storedBlob(s.files.catchFile(), chizuOf(2));
    EXPECT_NE(second.bytes, file);
    EXPECT_EQ(pictures::decodeJpeg(second.bytes).size(), QSize(64, 48));
}

TEST(MapEditorBrowser, OpensWithTheBrowsersMapAndStoresItReencodedInThatRecordOnly) {
    Session s;
    const QByteArray map = twoRecordsWithMaps(s);
    Driver drv;
    Browser b;
    drv.show(b);

    openFromBrowser(drv, b, "1", Picture::fromJpeg(map), [&](TFish_Chizu_InF& f) {
        EXPECT_EQ(f.Edit_CODE->text(), "1");
        EXPECT_EQ(f.Label_XY->caption(), "jpeg");
        ASSERT_TRUE(f.Image_M->picture().isJpeg());
        EXPECT_EQ(f.Image_M->pictureRect(), QRect(218, 226, 64, 48));   // centred, not enlarged
        drv.click(f.Btn_OK);
        EXPECT_FALSE(f.isOpen());
    });
    const Blob one = storedBlob(s.files.catchFile(), chizuOf(1));
    ASSERT_FALSE(one.null);
    EXPECT_NE(one.bytes, map);   // decoded and encoded again
    EXPECT_EQ(pictures::decodeJpeg(one.bytes).size(), QSize(64, 48));
    EXPECT_EQ(storedBlob(s.files.catchFile(), chizuOf(2)), (Blob{false, map}));

    // A number typed over the box sends the picture to that record.
    drv.platform().clipboard = gradient(30, 20);
    openFromBrowser(drv, b, "1", Picture::fromJpeg(map), [&](TFish_Chizu_InF& f) {
        drv.click(f.Btn_In);
        EXPECT_EQ(f.Label_XY->caption(), "30 * 20");
        f.Edit_CODE->setText("");
        drv.type(f.Edit_CODE, "2");
        drv.click(f.Btn_OK);
    });
    EXPECT_EQ(storedBlob(s.files.catchFile(), chizuOf(1)), one);
    EXPECT_EQ(pictures::decodeJpeg(storedBlob(s.files.catchFile(), chizuOf(2)).bytes).size(),
              QSize(30, 20));

    // 消去 then 登録 stores NULL.
    openFromBrowser(drv, b, "1", Picture::fromJpeg(one.bytes), [&](TFish_Chizu_InF& f) {
        drv.click(f.Btn_Clear);
        EXPECT_EQ(f.Label_XY->caption(), "");
        drv.click(f.Btn_OK);
    });
    EXPECT_TRUE(storedBlob(s.files.catchFile(), chizuOf(1)).null);

    // A record without a map opens empty; 登録 keeps it NULL.
    openFromBrowser(drv, b, "1", Picture(), [&](TFish_Chizu_InF& f) {
        EXPECT_FALSE(f.Image_M->hasPicture());
        EXPECT_EQ(f.Label_XY->caption(), "");
        drv.click(f.Btn_OK);
    });
    EXPECT_TRUE(storedBlob(s.files.catchFile(), chizuOf(1)).null);
}

TEST(MapEditorBrowser, APortraitPhonePhotoIsShownLabelledAndStoredUpright) {
    Session s;
    twoRecordsWithMaps(s);
    Driver drv;
    Browser b;
    drv.show(b);
    // 640 x 480 pixels stored, turned by its EXIF orientation 6.
    const QByteArray photo = test::withExifOrientation(cameraJpeg(gradient(640, 480)), 6);
    drv.platform().pictureFileAnswers = {writeFile("phone.jpg", photo)};
    openFromBrowser(drv, b, "1", Picture(), [&](TFish_Chizu_InF& f) {
        drv.click(f.Btn_File);
        EXPECT_EQ(f.Label_XY->caption(), QStringLiteral("BitMapのサイズ　") + QChar(13) + "480 * 640");
        EXPECT_EQ(f.Image_M->pictureRect(), QRect(62, 0, 375, 500));   // a portrait, fitted by its height
        drv.click(f.Btn_OK);
    });
    const QByteArray stored = storedBlob(s.files.catchFile(), chizuOf(1)).bytes;
    EXPECT_EQ(pictures::decodeJpeg(stored), pictures::decodeJpeg(pictures::encodeJpeg(pictures::decodeJpeg(photo))));
    EXPECT_FALSE(stored.contains("Exif"));
}

TEST(MapEditorBrowser, NumbersThatNameNoRecordAreRefused) {
    Session s;
    const QByteArray map = twoRecordsWithMaps(s);
    Driver drv;
    Browser b;
    drv.show(b);
    drv.platform().clipboard = gradient(30, 20);

    // An empty browser number: the editor closes at once.
    openFromBrowser(drv, b, "", Picture(), [&](TFish_Chizu_InF& f) {
        EXPECT_EQ(drv.takeMessages(), QStringList{"コード番号取得失敗"});
        EXPECT_FALSE(f.isOpen());
    });

    // Not a whole number: nothing is sent and the editor stays open.
    openFromBrowser(drv, b, "1", Picture::fromJpeg(map), [&](TFish_Chizu_InF& f) {
        drv.click(f.Btn_In);
        f.Edit_CODE->setText("abc");
        drv.click(f.Btn_OK);
        EXPECT_EQ(drv.takeMessages(), QStringList{"コード番号取得失敗"});
        EXPECT_TRUE(f.isOpen());
        drv.click(f.Btn_Return);
    });

    // A number naming no record (an empty browser shows 0) is a failed update.
    for (const char* no : {"99", "0"}) {
        openFromBrowser(drv, b, no, Picture(), [&](TFish_Chizu_InF& f) {
            drv.click(f.Btn_In);
            drv.click(f.Btn_OK);
            EXPECT_EQ(drv.takeMessages(), QStringList{"登録に失敗しました"});
            EXPECT_FALSE(f.isOpen());
        });
    }
    for (int code : {1, 2}) EXPECT_EQ(storedBlob(s.files.catchFile(), chizuOf(code)), (Blob{false, map}));
}

TEST(MapEditorBrowser, AFailedUpdateOrAnUnstorablePictureKeepsTheOldMap) {
    Session s;
    const QByteArray map = twoRecordsWithMaps(s);
    failUpdates(s.files.catchFile(), "FISH_DATA");
    Driver drv;
    Browser b;
    drv.show(b);

    drv.platform().clipboard = gradient(30, 20);
    openFromBrowser(drv, b, "1", Picture::fromJpeg(map), [&](TFish_Chizu_InF& f) {
        drv.click(f.Btn_In);
        drv.click(f.Btn_OK);
        EXPECT_EQ(drv.takeMessages(), QStringList{"登録に失敗しました"});
        EXPECT_FALSE(f.isOpen());
    });
    EXPECT_EQ(storedBlob(s.files.catchFile(), chizuOf(1)), (Blob{false, map}));

    // Over 100 megapixels: the paste is refused; such a picture in the
    // control is refused before it is converted, in both modes.
    drv.platform().clipboard = hugeMonoBitmap();
    openFromBrowser(drv, b, "1", Picture::fromJpeg(map), [&](TFish_Chizu_InF& f) {
        f.Image_M->setVisible(false);   // nothing to see of it here
        drv.click(f.Btn_In);
        EXPECT_EQ(drv.takeMessages(), QStringList{"失敗しました"});
        EXPECT_TRUE(f.Image_M->picture().isJpeg());
        f.Image_M->setPicture(Picture::fromBitmap(hugeMonoBitmap()));
        drv.click(f.Btn_OK);
        EXPECT_EQ(drv.takeMessages(), QStringList{"登録に失敗しました"});
    });
    EXPECT_EQ(storedBlob(s.files.catchFile(), chizuOf(1)), (Blob{false, map}));
    DataMode = NEW_Flg;
    Stranger entry("FishDataIn");
    auto* entryMap = new ui::Image(&entry, "Image_Map", 0, 0, 100, 100);
    drv.expectModal<TFish_Chizu_InF>([&](TFish_Chizu_InF& f) {
        f.Image_M->setVisible(false);
        f.Image_M->setPicture(Picture::fromBitmap(hugeMonoBitmap()));
        drv.click(f.Btn_OK);
        EXPECT_EQ(drv.takeMessages(), QStringList{"登録に失敗しました"});
    });
    ui::openModal(Fish_Chizu_InF, &entry);
    EXPECT_FALSE(entryMap->hasPicture());
}

TEST(MapEditorLoad, AJpegFileBecomesABitmapAndTheLabelBreaksAtItsCarriageReturn) {
    Session s;
    test::runSql(s.files.catchFile(), {"insert into FISH_DATA (CODENO) values (1)"});
    Driver drv;
    Browser b;
    drv.show(b);
    const QString path = writeFile("harbour.jpeg", cameraJpeg(gradient(64, 48)));
    drv.platform().pictureFileAnswers = {path};
    openFromBrowser(drv, b, "1", Picture(), [&](TFish_Chizu_InF& f) {
        drv.click(f.Btn_File);
        EXPECT_EQ(f.Label_XY->caption(), QString("BitMapのサイズ　") + QChar(13) + "64 * 48");
        EXPECT_TRUE(f.Image_M->picture().isBitmap());
        EXPECT_EQ(f.Image_M->pictureRect(), QRect(218, 226, 64, 48));   // not enlarged, centred
        drv.click(f.Btn_OK);
    });
    const Blob stored = storedBlob(s.files.catchFile(), chizuOf(1));
    EXPECT_EQ(pictures::decodeJpeg(stored.bytes).size(), QSize(64, 48));
}
