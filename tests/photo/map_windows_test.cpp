// The enlarged map and the memo map and tide window, opened from stand-in
// memo viewer and catch browser; the scroll box they are built with.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <vector>

#include "photo/Map_F.h"
#include "photo/Map_Shio_F.h"
#include "photo_fixture.h"
#include "imaging/codec.h"
#include "pictures/storage.h"
#include "ui/testing/driver.h"

using namespace tolvane;
using namespace phototest;
using tolvane::pictures::Picture;
using tolvane::test::cameraJpeg;
using tolvane::ui::testing::Driver;

namespace {

std::string memoColumn(const char* column, int code = 7) {
    return std::string("select ") + column + " from FISH_MEMO where CODE = " + std::to_string(code);
}

void openMap(Driver& drv, ui::Form& owner, std::function<void(TMapF&)> script) {
    drv.expectModal<TMapF>(std::move(script));
    ui::openModal(MapF, &owner);
}

// The viewer with `button` focused opens the memo window.
void openMemoPicture(Driver& drv, Viewer& v, ui::Button* button,
                     std::function<void(TMap_ShioF&)> script) {
    drv.focus(button);
    drv.expectModal<TMap_ShioF>(std::move(script));
    ui::openModal(Map_ShioF, &v);
}

}  // namespace

TEST(EnlargedMap, ShowsTheOpenersMapGrowsWithTheWindowAndClosesOnAnyClick) {
    Session s;
    Driver drv;
    Viewer v;
    const QByteArray memoMap = cameraJpeg(gradient(64, 48));
    v.Image_M->setPicture(Picture::fromJpeg(memoMap));
    v.Image_S->setPicture(Picture::fromBitmap(gradient(5, 5)));
    drv.show(v);

    openMap(drv, v, [&](TMapF& f) {
        EXPECT_EQ(f.caption(), "地図");
        EXPECT_EQ(f.size(), QSize(688, 668));
        EXPECT_EQ(f.minimumSize(), QSize(688, 668));
        EXPECT_TRUE(f.Button1->focused());
        ASSERT_TRUE(f.Image_MM->picture().isJpeg());
        EXPECT_EQ(f.Image_MM->picture().jpegBytes(), memoMap);
        EXPECT_EQ(f.Image_MM->size(), QSize(640, 560));
        const QRect r = f.Image_MM->pictureRect();
        EXPECT_EQ(r.size(), QSize(64, 48));   // never enlarged
        EXPECT_EQ(r.center(), f.Image_MM->rect().center());

        // Larger: the button keeps to the right edge, the picture area grows.
        const int buttonRight = f.width() - f.Button1->left();
        f.resize(888, 768);
        drv.processEvents();
        EXPECT_EQ(f.width() - f.Button1->left(), buttonRight);
        EXPECT_EQ(f.ScrollBox1->size(), QSize(872, 711));
        EXPECT_EQ(f.Image_MM->size(), QSize(840, 660));
        EXPECT_TRUE(Driver::cutLabels(f).isEmpty()) << Driver::cutLabels(f).join(' ').toStdString();

        // A click on the top panel does nothing; one on the picture closes.
        drv.click(f.Panel1, QPoint(200, 20));
        drv.click(f.Label1);
        EXPECT_TRUE(f.isOpen());
        drv.click(f.Image_MM);
        EXPECT_FALSE(f.isOpen());
    });

    // From the browser: its Image_Map; the area around the picture and the
    // back button close.
    Browser b;
    b.Image_Map->setPicture(Picture::fromBitmap(gradient(900, 900)));
    drv.show(b);
    openMap(drv, b, [&](TMapF& f) {
        EXPECT_EQ(f.Image_MM->picture().width(), 900);
        EXPECT_EQ(f.Image_MM->pictureRect(), QRect(40, 0, 560, 560));   // scaled down, centred
        drv.click(f.ScrollBox1, QPoint(3, 3));
        EXPECT_FALSE(f.isOpen());
    });
    openMap(drv, b, [&](TMapF& f) {
        drv.click(f.ScrollBox1->client(), QPoint(2, 2));
        EXPECT_FALSE(f.isOpen());
    });
    openMap(drv, b, [&](TMapF& f) {
        drv.pressEnter(f.Button1);   // the focused back button
        EXPECT_FALSE(f.isOpen());
    });

    // An opener without a map control: an empty window, no error.
    Stranger other("Kensaku");
    openMap(drv, other, [&](TMapF& f) {
        EXPECT_FALSE(f.Image_MM->hasPicture());
        drv.click(f.Button1);
    });
}

TEST(MemoMapAndTide, TheFocusedButtonChoosesTheColumnWhichAloneIsReplaced) {
    Session s;
    const QByteArray map = cameraJpeg(gradient(64, 48));
    const QByteArray tide = pictures::writeBmp(gradient(20, 10));
    test::runSql(s.files.memoFile(), {"insert into FISH_MEMO (CODE) values (7)",
                                      "insert into FISH_MEMO (CODE) values (8)"});
    putBlob(s.files.memoFile(), "update FISH_MEMO set F_MAP = :parB", map);
    putBlob(s.files.memoFile(), "update FISH_MEMO set F_PHOTO1 = :parB", map);
    Driver drv;
    Viewer v;
    v.Label_CODE->setCaption("7");
    v.Image_M->setPicture(Picture::fromJpeg(map));
    drv.show(v);

    // The map button: F_MAP, re-encoded.
    openMemoPicture(drv, v, v.Btn_Chizu, [&](TMap_ShioF& f) {
        EXPECT_EQ(f.caption(), "地図・潮位　入力");
        EXPECT_EQ(f.minimumSize(), QSize(720, 620));
        EXPECT_EQ(f.Label_CODE->caption(), "7");
        EXPECT_EQ(f.Label_X->caption(), "地　図");
        EXPECT_EQ(f.Label_JorB->caption(), "画像データは");
        EXPECT_EQ(f.Label_XY->caption(), "jpeg");
        EXPECT_EQ(f.Image1->picture().jpegBytes(), map);
        drv.click(f.Btn_Ok);
        EXPECT_FALSE(f.isOpen());
    });
    const Blob newMap = storedBlob(s.files.memoFile(), memoColumn("F_MAP"));
    EXPECT_NE(newMap.bytes, map);
    EXPECT_EQ(pictures::decodeJpeg(newMap.bytes).size(), QSize(64, 48));
    EXPECT_TRUE(storedBlob(s.files.memoFile(), memoColumn("F_SHIO")).null);

    // The tide button, no tide picture: "0 * 0", and 確定 stores zero bytes.
    openMemoPicture(drv, v, v.Btn_Cyoui, [&](TMap_ShioF& f) {
        EXPECT_EQ(f.Label_X->caption(), "潮　位");
        EXPECT_EQ(f.Label_JorB->caption(), "BitMapのサイズ");
        EXPECT_EQ(f.Label_XY->caption(), "0 * 0");
        EXPECT_TRUE(f.Image1->hasPicture());
        drv.click(f.Btn_Ok);
    });
    EXPECT_EQ(storedBlob(s.files.memoFile(), memoColumn("F_SHIO")), (Blob{false, QByteArray()}));

    // A paste (silent when there is nothing) then 確定: JPEG of the paste.
    v.Image_S->setPicture(pictures::decodeBitmapFirst(tide));
    openMemoPicture(drv, v, v.Btn_Cyoui, [&](TMap_ShioF& f) {
        EXPECT_EQ(f.Label_XY->caption(), "20 * 10");
        drv.click(f.Btn_In);   // empty clipboard: nothing, no message
        EXPECT_EQ(f.Label_XY->caption(), "20 * 10");
        drv.platform().clipboard = gradient(30, 20);
        drv.click(f.Btn_In);
        EXPECT_EQ(f.Label_JorB->caption(), "BitMapのサイズ");
        EXPECT_EQ(f.Label_XY->caption(), "30 * 20");
        drv.click(f.Btn_Ok);
    });
    EXPECT_EQ(pictures::decodeJpeg(storedBlob(s.files.memoFile(), memoColumn("F_SHIO")).bytes).size(),
              QSize(30, 20));

    // 消去 + 確定: NULL; キャンセル: nothing.
    openMemoPicture(drv, v, v.Btn_Chizu, [&](TMap_ShioF& f) {
        drv.click(f.Btn_Clear);
        EXPECT_FALSE(f.Image1->hasPicture());
        drv.click(f.Btn_No);
    });
    EXPECT_EQ(storedBlob(s.files.memoFile(), memoColumn("F_MAP")), newMap);
    openMemoPicture(drv, v, v.Btn_Chizu, [&](TMap_ShioF& f) {
        drv.click(f.Btn_Clear);
        drv.click(f.Btn_Ok);
    });
    EXPECT_TRUE(storedBlob(s.files.memoFile(), memoColumn("F_MAP")).null);

    // The other columns and the other memo are untouched.
    EXPECT_EQ(storedBlob(s.files.memoFile(), memoColumn("F_PHOTO1")), (Blob{false, map}));
    EXPECT_EQ(storedBlob(s.files.memoFile(), memoColumn("F_MAP", 8)), (Blob{false, map}));
    EXPECT_TRUE(storedBlob(s.files.memoFile(), memoColumn("F_SHIO", 8)).null);
}

// The captions the show handler and a paste give the right column stay
// whole, each label at its distance from the right edge, when the user
// enlarges the window.
TEST(MemoMapAndTide, EnlargingKeepsTheRightColumnsCaptionsWhole) {
    Session s;
    Driver drv;
    Viewer v;
    v.Label_CODE->setCaption("7");
    v.Image_S->setPicture(Picture::fromBitmap(gradient(20, 10)));
    drv.show(v);
    openMemoPicture(drv, v, v.Btn_Cyoui, [&](TMap_ShioF& f) {
        const std::vector<ui::Label*> shown{f.Label_CODE, f.Label_X, f.Label_JorB, f.Label_XY};
        const auto gaps = [&] {
            std::vector<int> g;
            for (ui::Label* l : shown) g.push_back(f.width() - (l->left() + l->width()));
            return g;
        };
        const auto checkWhole = [&] {
            for (ui::Label* l : shown)
                EXPECT_GE(l->width(), QFontMetrics(l->font()).horizontalAdvance(l->caption()))
                    << l->name().toStdString();
            EXPECT_TRUE(Driver::cutLabels(f).isEmpty()) << Driver::cutLabels(f).join(' ').toStdString();
        };
        EXPECT_EQ(f.Label_X->caption(), "潮　位");
        EXPECT_EQ(f.Label_JorB->caption(), "BitMapのサイズ");
        const std::vector<int> before = gaps();
        f.resize(1000, 760);
        drv.processEvents();
        EXPECT_EQ(gaps(), before);
        EXPECT_EQ(f.Label_XY->left(), 556 + 280);
        checkWhole();

        // A caption changed while enlarged, then smaller again.
        drv.platform().clipboard = gradient(1234, 567);
        drv.click(f.Btn_In);
        EXPECT_EQ(f.Label_XY->caption(), "1234 * 567");
        f.resize(720, 620);
        drv.processEvents();
        EXPECT_EQ(f.Label_XY->left(), 556);
        checkWhole();
        drv.click(f.Btn_No);
    });
}

TEST(MemoMapAndTide, FailedUpdatesAreSilentAndKeepTheOldPicture) {
    Session s;
    const QByteArray map = cameraJpeg(gradient(64, 48));
    test::runSql(s.files.memoFile(), {"insert into FISH_MEMO (CODE) values (7)"});
    putBlob(s.files.memoFile(), "update FISH_MEMO set F_MAP = :parB", map);
    Driver drv;
    Viewer v;
    drv.show(v);
    drv.platform().clipboard = gradient(30, 20);
    // No memo (an empty viewer), a memo that is not there, a picture no
    // reader would take back.
    for (const char* code : {"", "0", "99"}) {
        v.Label_CODE->setCaption(code);
        openMemoPicture(drv, v, v.Btn_Chizu, [&](TMap_ShioF& f) {
            drv.click(f.Btn_In);
            drv.click(f.Btn_Ok);
            EXPECT_FALSE(f.isOpen());
        });
    }
    v.Label_CODE->setCaption("7");
    drv.platform().clipboard = hugeMonoBitmap();
    openMemoPicture(drv, v, v.Btn_Chizu, [&](TMap_ShioF& f) {
        f.Image1->setVisible(false);   // nothing to see of it here
        drv.click(f.Btn_In);           // refused, silently
        EXPECT_NE(f.Image1->picture().width(), 10001);
        f.Image1->setPicture(Picture::fromBitmap(hugeMonoBitmap()));
        drv.click(f.Btn_Ok);
        EXPECT_FALSE(f.isOpen());
    });
    EXPECT_EQ(storedBlob(s.files.memoFile(), memoColumn("F_MAP")), (Blob{false, map}));
}

TEST(MemoMapAndTide, AServerErrorIsRolledBackSilently) {
    Session s;
    const QByteArray map = cameraJpeg(gradient(64, 48));
    test::runSql(s.files.memoFile(), {"insert into FISH_MEMO (CODE) values (7)"});
    putBlob(s.files.memoFile(), "update FISH_MEMO set F_MAP = :parB", map);
    failUpdates(s.files.memoFile(), "FISH_MEMO");
    Driver drv;
    Viewer v;
    v.Label_CODE->setCaption("7");
    drv.show(v);
    openMemoPicture(drv, v, v.Btn_Chizu, [&](TMap_ShioF& f) {
        drv.click(f.Btn_Clear);
        drv.click(f.Btn_Ok);
        EXPECT_FALSE(f.isOpen());
    });
    EXPECT_EQ(storedBlob(s.files.memoFile(), memoColumn("F_MAP")), (Blob{false, map}));
}
