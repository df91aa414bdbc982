// The nine memo photos, the four catch photos and the single-photo window,
// opened from stand-in memo viewer and catch browser: which column is read
// and written, in which format, the failures, the repair of a photo that
// does not read, and the enlarging of the four photos.
#include <gtest/gtest.h>

#include "photo/Photo_9_F.h"
#include "photo/Photo_Big_F.h"
#include "photo/Photo_F.h"
#include "photo_fixture.h"
#include "imaging/codec.h"
#include "ui/testing/driver.h"

using namespace tolvane;
using namespace phototest;
using tolvane::pictures::Picture;
using tolvane::test::cameraJpeg;
using tolvane::ui::testing::Driver;

namespace {

std::string memoPhoto(int code, int n) {
    return "select F_PHOTO" + std::to_string(n) + " from FISH_MEMO where CODE = " + std::to_string(code);
}
std::string catchPhoto(int code, int n) {
    return "select PHOTO" + std::to_string(n) + " from FISH_DATA where CODENO = " + std::to_string(code);
}

// Memos 5 and 6, each with a JPEG first photo and a bitmap fifth photo.
struct Memos {
    explicit Memos(Session& s) : file(s.files.memoFile()) {
        test::runSql(file, {"insert into FISH_MEMO (CODE) values (5)",
                            "insert into FISH_MEMO (CODE) values (6)"});
        putBlob(file, "update FISH_MEMO set F_PHOTO1 = :parB", first);
        putBlob(file, "update FISH_MEMO set F_PHOTO5 = :parB", fifth);
    }
    std::string file;
    QByteArray first = cameraJpeg(gradient(64, 48));
    QByteArray fifth = pictures::writeBmp(gradient(20, 10));
};

// Records 3 and 4, each with JPEG photos 1 and 3.
struct Records {
    explicit Records(Session& s) : file(s.files.catchFile()) {
        test::runSql(file, {"insert into FISH_DATA (CODENO) values (3)",
                            "insert into FISH_DATA (CODENO) values (4)"});
        putBlob(file, "update FISH_DATA set PHOTO1 = :parB", one);
        putBlob(file, "update FISH_DATA set PHOTO3 = :parB", three);
    }
    std::string file;
    QByteArray one = cameraJpeg(gradient(64, 48));
    QByteArray three = cameraJpeg(gradient(48, 64));
};

// Records 3 and 4, and a browser showing record 3.
struct OnRecord3 {
    OnRecord3() {
        b.Edit_No->setText("3");
        drv.show(b);
    }
    Session s;
    Records r{s};
    Driver drv;
    Browser b;
};

void openNine(Driver& drv, Viewer& v, std::function<void(TPhoto_9F&)> script) {
    drv.expectModal<TPhoto_9F>(std::move(script));
    ui::openModal(Photo_9F, &v);
}

void openFour(Driver& drv, Browser& b, std::function<void(TPhoto_BigF&)> script) {
    drv.expectModal<TPhoto_BigF>(std::move(script));
    ui::openModal(Photo_BigF, &b);
}

}  // namespace

TEST(NinePhotos, ReplacingOnePhotoChangesThatColumnOfThatMemoOnly) {
    Session s;
    Memos m(s);
    Driver drv;
    Viewer v;
    v.Label_CODE->setCaption("5");
    drv.show(v);
    const QString file = writeFile("catch.jpg", cameraJpeg(gradient(30, 40)));

    openNine(drv, v, [&](TPhoto_9F& f) {
        EXPECT_EQ(f.caption(), "写真入力");
        EXPECT_EQ(f.size(), QSize(907, 736));
        EXPECT_EQ(f.minimumSize(), f.maximumSize());
        EXPECT_EQ(f.Label_No->caption(), "5");
        EXPECT_EQ(f.Label_Photo->caption(), "");
        EXPECT_EQ(f.F_PHOTO5->bounds(), QRect(304, 270, 289, 212));
        EXPECT_EQ(f.F_PHOTO9->bounds(), QRect(600, 486, 289, 212));
        EXPECT_EQ(f.findControl<ui::Image>("F_PHOTO7"), f.F_PHOTO7);
        ASSERT_TRUE(f.F_PHOTO1->picture().isJpeg());
        EXPECT_EQ(f.F_PHOTO1->picture().jpegBytes(), m.first);
        EXPECT_EQ(f.F_PHOTO1->pictureRect(), QRect(0, 0, 64, 48));   // top left, not enlarged
        ASSERT_TRUE(f.F_PHOTO5->picture().isBitmap());
        EXPECT_EQ(f.F_PHOTO5->picture().width(), 20);
        for (auto* img : {f.F_PHOTO2, f.F_PHOTO3, f.F_PHOTO4, f.F_PHOTO6, f.F_PHOTO7, f.F_PHOTO8, f.F_PHOTO9})
            EXPECT_FALSE(img->hasPicture()) << img->name().toStdString();

        // A pasted bitmap is stored as a BMP file.
        drv.platform().clipboard = gradient(300, 200);
        drv.expectModal<TPhotoF>([&](TPhotoF& p) {
            EXPECT_EQ(p.caption(), "写真");
            EXPECT_EQ(p.size(), QSize(790, 606));
            EXPECT_EQ(f.Label_Photo2->caption(), "の処理中");
            EXPECT_EQ(p.Label_Photo->caption(), "F_PHOTO5");
            EXPECT_EQ(p.Label_CODE->caption(), "5");
            EXPECT_EQ(p.Image1->picture().width(), 20);
            drv.click(p.Btn_C_BORD);
            EXPECT_EQ(p.Image1->pictureRect(), QRect(0, 0, 300, 200));
            drv.click(p.Btn_Ok);
            EXPECT_FALSE(p.isOpen());
        });
        drv.dblClick(f.F_PHOTO5);
        EXPECT_EQ(f.Label_Photo->caption(), "F_PHOTO5");
        EXPECT_EQ(f.F_PHOTO5->picture().width(), 300);   // read again
        const Blob stored = storedBlob(m.file, memoPhoto(5, 5));
        EXPECT_TRUE(stored.bytes.startsWith("BM"));
        EXPECT_EQ(pictures::readBmp(stored.bytes).size(), QSize(300, 200));

        // A JPEG file is stored byte for byte.
        drv.platform().pictureFileAnswers = {file};
        drv.expectModal<TPhotoF>([&](TPhotoF& p) {
            EXPECT_EQ(p.Label_Photo->caption(), "F_PHOTO2");
            EXPECT_FALSE(p.Image1->hasPicture());
            drv.click(p.Btn_File);
            drv.click(p.Btn_Ok);
        });
        drv.dblClick(f.F_PHOTO2);
        EXPECT_TRUE(f.F_PHOTO2->picture().isJpeg());

        // 消去します then 変更確定 stores NULL; キャンセル stores nothing.
        drv.expectModal<TPhotoF>([&](TPhotoF& p) {
            drv.click(p.Btn_Clear);
            EXPECT_FALSE(p.Image1->hasPicture());
            drv.click(p.Btn_Ok);
        });
        drv.dblClick(f.F_PHOTO1);
        EXPECT_FALSE(f.F_PHOTO1->hasPicture());
        drv.expectModal<TPhotoF>([&](TPhotoF& p) {
            drv.click(p.Btn_Clear);
            drv.click(p.Btn_No);
        });
        drv.dblClick(f.F_PHOTO5);
        EXPECT_TRUE(f.F_PHOTO5->hasPicture());
        drv.click(f.Button1);
    });
    EXPECT_EQ(storedBlob(m.file, memoPhoto(5, 2)), (Blob{false, cameraJpeg(gradient(30, 40))}));
    EXPECT_TRUE(storedBlob(m.file, memoPhoto(5, 1)).null);
    // The other memo is untouched.
    EXPECT_EQ(storedBlob(m.file, memoPhoto(6, 1)), (Blob{false, m.first}));
    EXPECT_EQ(storedBlob(m.file, memoPhoto(6, 5)), (Blob{false, m.fifth}));
    EXPECT_TRUE(storedBlob(m.file, memoPhoto(6, 2)).null);
}

TEST(NinePhotos, AViewerWithoutAMemoGivesAnEmptyWindowAndFailedSaves) {
    Session s;
    Memos m(s);
    Driver drv;
    Viewer v;
    drv.show(v);
    drv.platform().clipboard = gradient(10, 10);
    for (const char* code : {"", "0"}) {
        v.Label_CODE->setCaption(code);
        openNine(drv, v, [&](TPhoto_9F& f) {
            for (auto* img : f.photos()) EXPECT_FALSE(img->hasPicture());
            drv.expectModal<TPhotoF>([&](TPhotoF& p) {
                drv.click(p.Btn_C_BORD);
                drv.click(p.Btn_Ok);
                EXPECT_EQ(drv.takeMessages(), QStringList{"失敗しました FISH_MEMO"});
                EXPECT_FALSE(p.isOpen());
            });
            drv.dblClick(f.F_PHOTO3);
            drv.click(f.Button1);
        });
    }
    for (int code : {5, 6}) EXPECT_TRUE(storedBlob(m.file, memoPhoto(code, 3)).null);
}

TEST(SinglePhoto, TakesOnlyTheNineMemoColumnsAndBindsTheNumber) {
    Session s;
    Memos m(s);
    Driver drv;
    drv.platform().clipboard = gradient(10, 10);
    // A nine-photo window whose labels say something else.
    Stranger nine("Photo_9F");
    auto* column = new ui::Label(&nine, "Label_Photo", "", 0, 0);
    auto* number = new ui::Label(&nine, "Label_No", "", 0, 20);
    drv.show(nine);
    const std::pair<const char*, const char*> cases[] = {
        {"F_PHOTO1 = NULL, F_PHOTO5", "5"}, {"F_MAP", "5"}, {"F_PHOTO1", "5 or CODE = 6"}, {"", "5"}};
    for (const auto& [col, code] : cases) {
        column->setCaption(col);
        number->setCaption(code);
        drv.expectModal<TPhotoF>([&](TPhotoF& p) {
            EXPECT_FALSE(p.Image1->hasPicture());   // nothing read
            drv.click(p.Btn_C_BORD);
            drv.click(p.Btn_Ok);
            EXPECT_EQ(drv.takeMessages(), QStringList{"失敗しました FISH_MEMO"});
        });
        ui::openModal(PhotoF, &nine);
    }
    for (int code : {5, 6}) {
        EXPECT_EQ(storedBlob(m.file, memoPhoto(code, 1)), (Blob{false, m.first}));
        EXPECT_EQ(storedBlob(m.file, memoPhoto(code, 5)), (Blob{false, m.fifth}));
    }
    EXPECT_TRUE(storedBlob(m.file, "select F_MAP from FISH_MEMO where CODE = 5").null);

    // Any other owner: "*********", nothing read.
    Stranger other("FishdataF");
    drv.expectModal<TPhotoF>([&](TPhotoF& p) {
        EXPECT_EQ(drv.takeMessages(), QStringList{"*********"});
        EXPECT_FALSE(p.isOpen());
        EXPECT_FALSE(p.Image1->hasPicture());
    });
    ui::openModal(PhotoF, &other);
}

TEST(SinglePhoto, FailedUpdatesAreReportedAfterTheRollbackAndKeepTheOldPhotos) {
    Session s;
    Memos m(s);
    Records r(s);
    failUpdates(m.file, "FISH_MEMO");
    failUpdates(r.file, "FISH_DATA");
    Driver drv;
    Viewer v;
    v.Label_CODE->setCaption("5");
    Browser b;
    b.Edit_No->setText("3");
    drv.show(v);

    drv.platform().clipboard = gradient(10, 10);
    openNine(drv, v, [&](TPhoto_9F& f) {
        drv.expectModal<TPhotoF>([&](TPhotoF& p) {
            drv.click(p.Btn_C_BORD);
            drv.click(p.Btn_Ok);
            EXPECT_EQ(drv.takeMessages(), QStringList{"失敗しました FISH_MEMO"});
            EXPECT_FALSE(p.isOpen());
        });
        drv.dblClick(f.F_PHOTO1);
        EXPECT_EQ(f.F_PHOTO1->picture().jpegBytes(), m.first);   // read again: the old photo
        drv.click(f.Button1);
    });
    openFour(drv, b, [&](TPhoto_BigF& f) {
        drv.expectModal<TPhotoF>([&](TPhotoF& p) {
            drv.click(p.Btn_Clear);
            drv.click(p.Btn_Ok);
            EXPECT_EQ(drv.takeMessages(), QStringList{"失敗しました FISH_DATA"});
            EXPECT_FALSE(p.isOpen());
        });
        drv.click(f.Btn_No1);
        EXPECT_EQ(f.Image_AA->picture().jpegBytes(), r.one);
        drv.click(f.Button1);
    });
    EXPECT_EQ(storedBlob(m.file, memoPhoto(5, 1)), (Blob{false, m.first}));
    EXPECT_EQ(storedBlob(r.file, catchPhoto(3, 1)), (Blob{false, r.one}));

    // The transactions are still usable: a read after the failures works.
    openFour(drv, b, [&](TPhoto_BigF& f) {
        EXPECT_TRUE(f.Image_CC->picture().isJpeg());
        drv.click(f.Button1);
    });
}

TEST(SinglePhoto, PicturesOverTheReadersLimitAreRefusedByBothSaves) {
    Session s;
    Memos m(s);
    Records r(s);
    Driver drv;
    Viewer v;
    v.Label_CODE->setCaption("5");
    Browser b;
    b.Edit_No->setText("3");
    drv.show(v);
    drv.platform().clipboard = hugeMonoBitmap();

    openNine(drv, v, [&](TPhoto_9F& f) {
        drv.expectModal<TPhotoF>([&](TPhotoF& p) {
            p.Image1->setVisible(false);   // nothing to see of it here
            drv.click(p.Btn_C_BORD);       // the paste refuses it
            EXPECT_EQ(drv.takeMessages(), QStringList{"失敗しました"});
            EXPECT_NE(p.Image1->picture().width(), 10001);
            p.Image1->setPicture(Picture::fromBitmap(hugeMonoBitmap()));
            drv.click(p.Btn_Ok);
            EXPECT_EQ(drv.takeMessages(), QStringList{"失敗しました FISH_MEMO"});
        });
        drv.dblClick(f.F_PHOTO5);
        drv.click(f.Button1);
    });
    openFour(drv, b, [&](TPhoto_BigF& f) {
        drv.expectModal<TPhotoF>([&](TPhotoF& p) {
            p.Image1->setVisible(false);
            drv.click(p.Btn_C_BORD);
            EXPECT_EQ(drv.takeMessages(), QStringList{"失敗しました"});
            p.Image1->setPicture(Picture::fromBitmap(hugeMonoBitmap()));
            drv.click(p.Btn_Ok);
            EXPECT_EQ(drv.takeMessages(), QStringList{"失敗しました FISH_DATA"});
        });
        drv.click(f.Btn_No3);
        drv.click(f.Button1);
    });
    EXPECT_EQ(storedBlob(m.file, memoPhoto(5, 5)), (Blob{false, m.fifth}));
    EXPECT_EQ(storedBlob(r.file, catchPhoto(3, 3)), (Blob{false, r.three}));
}

TEST(FourPhotos, ShowsTheRecordsPhotosAndReplacesTheOneOfTheButtonPressed) {
    OnRecord3 on;
    auto& [s, r, drv, b] = on;
    const QByteArray file = cameraJpeg(gradient(30, 40));
    const QString path = writeFile("photo.JPG", file);

    openFour(drv, b, [&](TPhoto_BigF& f) {
        EXPECT_EQ(f.caption(), "拡大写真　ダブルクリックすると拡大します");
        EXPECT_EQ(f.size(), QSize(960, 720));
        EXPECT_EQ(f.Label_Code->caption(), "3");
        EXPECT_EQ(f.Image_AA->picture().jpegBytes(), r.one);
        EXPECT_FALSE(f.Image_BB->hasPicture());
        EXPECT_EQ(f.Image_CC->picture().jpegBytes(), r.three);
        EXPECT_FALSE(f.Image_DD->hasPicture());
        EXPECT_EQ(f.Image_CC->pictureRect(), QRect(176, 118, 48, 64));   // centred, not enlarged

        // "3" works on PHOTO3: a pasted bitmap is stored as JPEG.
        drv.platform().clipboard = gradient(50, 40);
        drv.expectModal<TPhotoF>([&](TPhotoF& p) {
            EXPECT_EQ(PhotoNo, 3);
            EXPECT_EQ(p.Label_CODE->caption(), "3");
            EXPECT_EQ(p.Label_Photo->caption(), "");
            EXPECT_EQ(p.Image1->picture().jpegBytes(), r.three);
            drv.click(p.Btn_C_BORD);
            drv.click(p.Btn_Ok);
        });
        drv.click(f.Btn_No3);
        const QByteArray stored = storedBlob(r.file, catchPhoto(3, 3)).bytes;
        EXPECT_TRUE(stored.startsWith("\xff\xd8"));
        EXPECT_EQ(pictures::decodeJpeg(stored).size(), QSize(50, 40));
        EXPECT_EQ(f.Image_CC->picture().jpegBytes(), stored);   // read again

        // "2": a JPEG file byte for byte; "1": erased.
        drv.platform().pictureFileAnswers = {path};
        drv.expectModal<TPhotoF>([&](TPhotoF& p) {
            drv.dblClick(p.Image1);
            drv.click(p.Btn_Ok);
        });
        drv.click(f.Btn_No2);
        EXPECT_EQ(f.Image_BB->picture().jpegBytes(), file);
        drv.expectModal<TPhotoF>([&](TPhotoF& p) {
            drv.click(p.Btn_Clear);
            drv.click(p.Btn_Ok);
        });
        drv.click(f.Btn_No1);
        EXPECT_FALSE(f.Image_AA->hasPicture());
        drv.click(f.Button1);
    });
    EXPECT_TRUE(storedBlob(r.file, catchPhoto(3, 1)).null);
    EXPECT_EQ(storedBlob(r.file, catchPhoto(3, 2)), (Blob{false, file}));
    EXPECT_EQ(storedBlob(r.file, catchPhoto(4, 1)), (Blob{false, r.one}));
    EXPECT_EQ(storedBlob(r.file, catchPhoto(4, 3)), (Blob{false, r.three}));
    EXPECT_TRUE(storedBlob(r.file, catchPhoto(4, 2)).null);
}

TEST(FourPhotos, ADoubleClickEnlargesAPhotoOverTheOthersAndBack) {
    OnRecord3 on;
    auto& [s, r, drv, b] = on;
    openFour(drv, b, [&](TPhoto_BigF& f) {
        const QRect home[4] = {{8, 16, 402, 302}, {416, 16, 402, 302}, {8, 328, 402, 302}, {416, 328, 402, 302}};
        ui::Panel* panels[4] = {f.Panel_AA, f.Panel_BB, f.Panel_CC, f.Panel_DD};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(panels[i]->bounds(), home[i]);

        drv.dblClick(f.Image_CC);
        EXPECT_EQ(f.Panel_CC->bounds(), QRect(8, 16, 802, 602));
        EXPECT_EQ(f.Image_CC->bounds(), QRect(1, 1, 800, 600));
        EXPECT_EQ(f.Image_CC->pictureRect(), QRect(376, 268, 48, 64));
        for (auto* p : {f.Panel_AA, f.Panel_BB, f.Panel_DD}) EXPECT_FALSE(p->visible());

        // Kept over a reload (the single-photo window closed unchanged).
        drv.expectModal<TPhotoF>([&](TPhotoF& p) { drv.click(p.Btn_No); });
        drv.click(f.Btn_No4);
        EXPECT_EQ(f.Panel_CC->bounds(), QRect(8, 16, 802, 602));
        EXPECT_FALSE(f.Panel_AA->visible());

        drv.dblClick(f.Image_CC);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(panels[i]->bounds(), home[i]);
            EXPECT_TRUE(panels[i]->visible());
        }
        EXPECT_EQ(f.Image_CC->bounds(), QRect(1, 1, 400, 300));

        // An empty photo does not enlarge.
        drv.dblClick(f.Image_BB);
        EXPECT_EQ(f.Panel_BB->bounds(), home[1]);
        EXPECT_TRUE(f.Panel_AA->visible());
        drv.click(f.Button1);
    });
}

TEST(FourPhotos, ErasingTheEnlargedPhotoPutsAllFourBackHome) {
    OnRecord3 on;
    auto& [s, r, drv, b] = on;
    openFour(drv, b, [&](TPhoto_BigF& f) {
        auto erase = [&](ui::Button* button) {
            drv.expectModal<TPhotoF>([&](TPhotoF& p) {
                drv.click(p.Btn_Clear);
                drv.click(p.Btn_Ok);
            });
            drv.click(button);
        };
        drv.dblClick(f.Image_CC);
        ASSERT_FALSE(f.Panel_AA->visible());

        // Another photo erased: the enlarged one stays enlarged.
        erase(f.Btn_No1);
        EXPECT_FALSE(f.Image_AA->hasPicture());
        EXPECT_EQ(f.Panel_CC->bounds(), QRect(8, 16, 802, 602));
        EXPECT_FALSE(f.Panel_BB->visible());

        // The enlarged photo erased: nothing is left to double-click, so the
        // four panels are back home and shown.
        erase(f.Btn_No3);
        EXPECT_FALSE(f.Image_CC->hasPicture());
        const QRect home[4] = {{8, 16, 402, 302}, {416, 16, 402, 302}, {8, 328, 402, 302}, {416, 328, 402, 302}};
        ui::Panel* panels[4] = {f.Panel_AA, f.Panel_BB, f.Panel_CC, f.Panel_DD};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(panels[i]->bounds(), home[i]);
            EXPECT_TRUE(panels[i]->visible());
        }
        EXPECT_EQ(f.Image_CC->bounds(), QRect(1, 1, 400, 300));
        drv.click(f.Button1);
    });
    EXPECT_TRUE(storedBlob(r.file, catchPhoto(3, 3)).null);
}

TEST(FourPhotos, APhotoThatDoesNotReadIsReportedAndRepairedThroughItsButton) {
    Session s;
    Records r(s);
    putBlob(r.file, "update FISH_DATA set PHOTO2 = :parB where CODENO = 3", "not a picture at all");
    Driver drv;
    Browser b;
    b.Edit_No->setText("3");
    drv.show(b);
    openFour(drv, b, [&](TPhoto_BigF& f) {
        EXPECT_EQ(drv.takeErrors().size(), 1);
        EXPECT_TRUE(f.Image_AA->hasPicture());
        for (auto* img : {f.Image_BB, f.Image_CC, f.Image_DD}) EXPECT_FALSE(img->hasPicture());

        drv.platform().clipboard = gradient(50, 40);
        drv.expectModal<TPhotoF>([&](TPhotoF& p) {
            EXPECT_EQ(drv.takeErrors().size(), 1);   // the same photo fails here too
            EXPECT_FALSE(p.Image1->hasPicture());
            drv.click(p.Btn_C_BORD);
            drv.click(p.Btn_Ok);
        });
        drv.click(f.Btn_No2);
        EXPECT_TRUE(f.Image_BB->picture().isJpeg());
        EXPECT_EQ(f.Image_CC->picture().jpegBytes(), r.three);
        drv.click(f.Button1);
    });
    EXPECT_EQ(pictures::decodeJpeg(storedBlob(r.file, catchPhoto(3, 2)).bytes).size(), QSize(50, 40));
}

TEST(FourPhotos, ABrowserWithoutARecordGivesAnEmptyWindowAndFailedSaves) {
    Session s;
    Records r(s);
    Driver drv;
    Browser b;
    drv.show(b);
    drv.platform().clipboard = gradient(10, 10);
    for (const char* no : {"", "0", "abc"}) {
        b.Edit_No->setText(no);
        openFour(drv, b, [&](TPhoto_BigF& f) {
            for (auto* img : {f.Image_AA, f.Image_BB, f.Image_CC, f.Image_DD}) EXPECT_FALSE(img->hasPicture());
            drv.expectModal<TPhotoF>([&](TPhotoF& p) {
                drv.click(p.Btn_C_BORD);
                drv.click(p.Btn_Ok);
                EXPECT_EQ(drv.takeMessages(), QStringList{"失敗しました FISH_DATA"});
            });
            drv.click(f.Btn_No4);
            drv.click(f.Button1);
        });
    }
    for (int code : {3, 4}) EXPECT_TRUE(storedBlob(r.file, catchPhoto(code, 4)).null);
}
