// Pictures written into and read back from real blob columns of fresh
// database files, through every write and read variant.
#include "imaging/codec.h"
#include "pictures/input.h"
#include "pictures/storage.h"

#include "db/db_fixture.h"

#include <QFile>
#include <gtest/gtest.h>
#include "support/test_pictures.h"

using namespace tolvane;
using namespace tolvane::pictures;
using tolvane::test::CatchDb;
using tolvane::test::MemoDb;

namespace {

QImage gradient(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 255) / w, (y * 255) / h, (x * y) & 0xFF));
    return img;
}

using tolvane::test::cameraJpeg;

QByteArray bytesOf(db::Field& f)
{
    const std::string s = f.asBytes();
    return QByteArray(s.data(), qsizetype(s.size()));
}

using Writer = void (*)(db::Param&, const Picture&);

// One row of `table` holding `picture` in `column`, written by `write` as the
// windows do, then read back in a new select.
template <class Db>
struct PictureRow {
    PictureRow(const char* table, const char* key) : table(table), key(key) {}
    const char* table;
    const char* key;
    Db d;
    db::Query q{d.db, d.tr};

    void store(const char* column, Writer write, const Picture& picture, int code = 1)
    {
        q.close();
        q.sqlClear();
        q.sqlAdd(std::string("insert into ") + table + " (" + key + ", " + column + ")");
        q.sqlAdd(" values (:parCode, :parPic)");
        q.paramByName("parCode").setInteger(code);
        write(q.paramByName("parPic"), picture);
        q.execQuery();
        d.tr.commitRetaining();
    }
    db::Field& read(const char* column, int code = 1)
    {
        test::openSql(q, std::string("select ") + column + " from " + table + " where " + key +
                             " = " + std::to_string(code));
        EXPECT_EQ(q.recordCount(), 1);
        return q.fieldByName(column);
    }
};

struct CatchRow : PictureRow<CatchDb> {
    CatchRow() : PictureRow("FISH_DATA", "CODENO") {}
};

struct MemoRow : PictureRow<MemoDb> {
    MemoRow() : PictureRow("FISH_MEMO", "CODE") {}
};

}  // namespace

TEST(PictureStorage, KeepingWriteStoresJpegFileUnchangedAndReencodingWriteChangesIt)
{
    const QByteArray file = cameraJpeg(gradient(320, 240));
    const auto dir = test::makeTempDir();
    const QString path = QString::fromStdString((dir / "photo.jpg").string());
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(file);
    }
    const Picture loaded = loadPictureFile(path);
    ASSERT_TRUE(loaded.isJpeg());

    CatchRow row;
    row.store("PHOTO1", keepingJpegWrite, loaded);
    db::Field& photo = row.read("PHOTO1");
    ASSERT_FALSE(photo.isNull());
    EXPECT_EQ(bytesOf(photo), file);   // byte for byte
    const Picture back = jpegOnlyRead(photo);
    EXPECT_TRUE(back.isJpeg());
    EXPECT_EQ(back.jpegBytes(), file);
    EXPECT_EQ(back.pixels().size(), QSize(320, 240));

    // The same picture through a re-encoding write (map and tide editors):
    // decoded and encoded again at quality 90.
    row.store("SHIO_ZU", reencodingJpegWrite, back, 2);
    const QByteArray reencoded = bytesOf(row.read("SHIO_ZU", 2));
    EXPECT_NE(reencoded, file);
    EXPECT_EQ(reencoded, encodeJpeg(decodeJpeg(file)));
    EXPECT_EQ(jpegSize(reencoded), QSize(320, 240));

    std::filesystem::remove_all(dir);
}

TEST(PictureStorage, KeepingWriteEncodesABitmap)
{
    CatchRow row;
    const QImage pixels = gradient(64, 40);
    row.store("CHIZU", keepingJpegWrite, Picture::fromBitmap(pixels));
    const QByteArray stored = bytesOf(row.read("CHIZU"));
    EXPECT_EQ(stored, encodeJpeg(pixels));
    const Picture back = bitmapFirstRead(row.read("CHIZU"), NullTest::With);
    EXPECT_TRUE(back.isJpeg());   // a JPEG blob: the bitmap attempt fails silently
    EXPECT_EQ(back.jpegBytes(), stored);
    EXPECT_EQ(back.pixels().size(), QSize(64, 40));
}

TEST(PictureStorage, PastedBitmapStoredAsBmpByOwnFormatWriteAndShownAgain)
{
    MemoRow row;
    const QImage pasted = gradient(50, 30);
    row.store("F_PHOTO1", ownFormatWrite, Picture::fromBitmap(pasted));
    db::Field& field = row.read("F_PHOTO1");
    EXPECT_EQ(bytesOf(field).left(2), QByteArray("BM"));
    for (NullTest t : {NullTest::With, NullTest::Without}) {
        const Picture back = bitmapFirstRead(field, t);
        ASSERT_TRUE(back.isBitmap());
        EXPECT_EQ(back.pixels().convertToFormat(QImage::Format_RGB32), pasted);
    }
}

TEST(PictureStorage, OwnFormatWriteKeepsJpegBytes)
{
    MemoRow row;
    const QByteArray file = cameraJpeg(gradient(40, 40));
    row.store("F_PHOTO9", ownFormatWrite, Picture::fromJpeg(file));
    db::Field& field = row.read("F_PHOTO9");
    EXPECT_EQ(bytesOf(field), file);
    const Picture back = bitmapFirstRead(field, NullTest::With);
    EXPECT_TRUE(back.isJpeg());
    EXPECT_EQ(back.jpegBytes(), file);
}

TEST(PictureStorage, NoPictureIsNullAndEmptyPictureIsZeroLength)
{
    CatchRow row;
    row.store("PHOTO2", keepingJpegWrite, Picture());
    {
        db::Field& f = row.read("PHOTO2");
        EXPECT_TRUE(f.isNull());
        EXPECT_TRUE(bitmapFirstRead(f, NullTest::With).isNone());
        const Picture without = bitmapFirstRead(f, NullTest::Without);
        EXPECT_TRUE(without.isBitmap());   // the empty picture, no error
        EXPECT_EQ(without.width(), 0);
        EXPECT_EQ(without.height(), 0);
        EXPECT_TRUE(jpegOnlyRead(f).isNone());
    }

    // An empty 0 x 0 picture through each write: length zero, not NULL.
    const Picture empty = Picture::fromBitmap(QImage());
    const Writer writers[] = {reencodingJpegWrite, keepingJpegWrite, ownFormatWrite};
    int code = 10;
    for (Writer w : writers) {
        row.store("PHOTO3", w, empty, code);
        db::Field& f = row.read("PHOTO3", code);
        EXPECT_FALSE(f.isNull());
        EXPECT_TRUE(f.asBytes().empty());
        for (NullTest t : {NullTest::With, NullTest::Without}) {
            const Picture p = bitmapFirstRead(f, t);
            EXPECT_TRUE(p.isBitmap());
            EXPECT_EQ(p.pixels().size(), QSize(0, 0));
        }
        const Picture j = jpegOnlyRead(f);
        EXPECT_FALSE(j.isNone());
        EXPECT_EQ(j.width(), 0);
        ++code;
    }
}

TEST(PictureStorage, UnreadableBlobsFailTheRead)
{
    CatchRow row;
    // Text in a picture column: neither a bitmap nor JPEG.
    auto write = [](db::Param& p, const Picture&) { p.setBlob("this is no picture"); };
    row.store("SHIO_ZU", write, Picture());
    db::Field& f = row.read("SHIO_ZU");
    try {
        bitmapFirstRead(f, NullTest::Without);
        FAIL() << "read a picture from text";
    } catch (const CodecError& e) {
        EXPECT_NE(std::string(e.what()).find("Not a JPEG file"), std::string::npos) << e.what();
    }
    EXPECT_THROW(jpegOnlyRead(f), CodecError);

    // A bitmap given to the JPEG-only read: no bitmap attempt.
    row.store("PHOTO4", ownFormatWrite, Picture::fromBitmap(gradient(8, 8)), 2);
    EXPECT_THROW(jpegOnlyRead(row.read("PHOTO4", 2)), CodecError);
    EXPECT_TRUE(bitmapFirstRead(row.read("PHOTO4", 2), NullTest::With).isBitmap());
}

TEST(PictureStorage, JpegReadForAViewDecodesOnlyAsLargeAsShownAndStoresAsBefore)
{
    CatchRow row;
    const QImage big = gradient(1600, 1200);
    const QByteArray bytes = encodeJpeg(big);
    row.store("PHOTO1", keepingJpegWrite, Picture::fromJpeg(bytes));
    auto write = [](db::Param& p, const Picture&) { p.setBlob("this is no picture"); };
    row.store("PHOTO2", write, Picture(), 2);
    row.store("PHOTO3", keepingJpegWrite, Picture::fromBitmap(QImage()), 3);

    // Shown in 800 x 600 at most: a decode of 800 x 600 serves every view up
    // to that; the stores still take the bytes and the full-size decode.
    const Picture read = jpegOnlyRead(row.read("PHOTO1"), QSize(800, 600));
    EXPECT_TRUE(read.isJpeg());
    EXPECT_FALSE(read.isDecoded());
    EXPECT_EQ(read.width(), 1600);
    EXPECT_EQ(read.pixelsToShow(QSize(400, 300)).size(), QSize(800, 600));
    EXPECT_EQ(keptJpegBytes(read), bytes);
    EXPECT_EQ(reencodedJpegBytes(read), encodeJpeg(decodeJpeg(bytes)));
    EXPECT_EQ(read.pixels().size(), QSize(1600, 1200));
    // A portrait photo is fitted by its height.
    EXPECT_EQ(decodeJpegOnly(encodeJpeg(gradient(1200, 1600)), QSize(800, 600)).pixelsToShow({1, 1}).size(),
              QSize(450, 600));
    // Shown at more than half its size: the full decode, as the plain read.
    EXPECT_TRUE(decodeJpegOnly(bytes, QSize(1000, 1000)).isDecoded());
    EXPECT_TRUE(decodeJpegOnly(bytes, QSize(4000, 4000)).isDecoded());

    // NULL, empty and unreadable values as the plain read gives them.
    EXPECT_TRUE(jpegOnlyRead(row.read("PHOTO4"), QSize(800, 600)).isNone());
    const Picture empty = jpegOnlyRead(row.read("PHOTO3", 3), QSize(800, 600));
    EXPECT_TRUE(empty.isBitmap());
    EXPECT_EQ(empty.width(), 0);
    db::Field& text = row.read("PHOTO2", 2);
    EXPECT_THROW(jpegOnlyRead(text, QSize(800, 600)), CodecError);
    EXPECT_THROW(decodeJpegOnly(bytes.left(bytes.size() / 2), QSize(800, 600)), CodecError);
}

// Width and height as a JPEG file's frame header gives them.
QSize frameSize(const QByteArray& jpeg)
{
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    if (sof < 0)
        return {};
    auto u16 = [&](qsizetype at) { return (uchar(jpeg[at]) << 8) | uchar(jpeg[at + 1]); };
    return QSize(u16(sof + 7), u16(sof + 5));
}

TEST(PictureStorage, PortraitPhonePhotoIsStoredAndReadUpright)
{
    // 640 x 480 pixels stored, EXIF orientation 6: a portrait 480 x 640.
    const QByteArray file = test::withExifOrientation(cameraJpeg(gradient(640, 480)), 6);
    const QImage upright = decodeJpeg(file);
    ASSERT_EQ(upright.size(), QSize(480, 640));
    CatchRow row;
    row.store("PHOTO1", keepingJpegWrite, Picture::fromJpeg(file));
    db::Field& photo = row.read("PHOTO1");
    EXPECT_EQ(bytesOf(photo), file);   // tag and all
    const Picture back = jpegOnlyRead(photo);
    EXPECT_EQ(back.pixels(), upright);
    const Picture forView = jpegOnlyRead(row.read("PHOTO1"), QSize(400, 300));
    EXPECT_EQ(QSize(forView.width(), forView.height()), QSize(480, 640));
    EXPECT_EQ(forView.pixelsToShow(QSize(225, 300)).size(), QSize(240, 320));

    // Re-encoded (map editor): the upright pixels, no tag left to turn them.
    row.store("CHIZU", reencodingJpegWrite, back, 2);
    const QByteArray map = bytesOf(row.read("CHIZU", 2));
    EXPECT_EQ(frameSize(map), QSize(480, 640));
    EXPECT_FALSE(map.contains("Exif"));
    EXPECT_EQ(bitmapFirstRead(row.read("CHIZU", 2), NullTest::With).pixels().size(), QSize(480, 640));
}

TEST(PictureStorage, DamagedJpegBlobsFailEveryRead)
{
    const QByteArray whole = cameraJpeg(gradient(320, 240));
    const QByteArray cut = whole.left(whole.size() / 2) + QByteArray("\xFF\xD9", 2);
    CatchRow row;
    row.store("SHIO_ZU", [](db::Param& p, const Picture& pic) { p.setBlob(pic.jpegBytes().toStdString()); },
              Picture::fromJpeg(cut));
    const std::string message = "Corrupt JPEG data: premature end of data segment";
    for (int read = 0; read < 3; ++read) {
        db::Field& f = row.read("SHIO_ZU");
        try {
            if (read == 0)
                bitmapFirstRead(f, NullTest::With);
            else if (read == 1)
                jpegOnlyRead(f);
            else
                jpegOnlyRead(f, QSize(100, 75));
            ADD_FAILURE() << "read a damaged picture, read " << read;
        } catch (const CodecError& e) {
            EXPECT_EQ(e.what(), message) << read;
        }
    }
}

TEST(PictureStorage, JpegBlobsCutShortFailEveryReadAndTheirWholeTwinsRead)
{
    CatchRow row;
    int code = 0;
    const auto keep = [](db::Param& p, const Picture& pic) { p.setBlob(pic.jpegBytes().toStdString()); };
    for (const test::CutJpeg& c : test::jpegsCutShort()) {
        row.store("SHIO_ZU", keep, Picture::fromJpeg(c.cut), ++code);
        EXPECT_THROW(bitmapFirstRead(row.read("SHIO_ZU", code), NullTest::With), CodecError) << c.what;
        EXPECT_THROW(jpegOnlyRead(row.read("SHIO_ZU", code)), CodecError) << c.what;
        EXPECT_THROW(jpegOnlyRead(row.read("SHIO_ZU", code), QSize(40, 30)), CodecError) << c.what;
        row.store("SHIO_ZU", keep, Picture::fromJpeg(c.whole), ++code);
        EXPECT_FALSE(bitmapFirstRead(row.read("SHIO_ZU", code), NullTest::With).pixels().isNull()) << c.what;
        EXPECT_EQ(jpegOnlyRead(row.read("SHIO_ZU", code)).jpegBytes(), c.whole) << c.what;
    }
}

TEST(PictureStorage, LargePicturesSurviveTheBlobRoundTrip)
{
    MemoRow row;
    const QImage big = gradient(1600, 1200);   // a 5.8 MB bitmap file
    row.store("F_MAP", ownFormatWrite, Picture::fromBitmap(big));
    const Picture back = bitmapFirstRead(row.read("F_MAP"), NullTest::Without);
    EXPECT_EQ(back.pixels().convertToFormat(QImage::Format_RGB32), big);

    row.store("F_SHIO", reencodingJpegWrite, Picture::fromBitmap(big), 2);
    db::Field& f = row.read("F_SHIO", 2);
    EXPECT_EQ(bytesOf(f), encodeJpeg(big));
    EXPECT_EQ(jpegOnlyRead(f).pixels().size(), QSize(1600, 1200));
}

TEST(PictureStorage, StorableCheckRefusesOnlyPicturesPastTheReadersLimit)
{
    EXPECT_NO_THROW(checkStorable(Picture()));
    EXPECT_NO_THROW(checkStorable(Picture::fromBitmap(QImage())));
    QImage atLimit(10'000, 10'000, QImage::Format_Mono);
    EXPECT_NO_THROW(checkStorable(Picture::fromBitmap(atLimit)));
    QImage past(10'001, 10'000, QImage::Format_Mono);
    EXPECT_THROW(checkStorable(Picture::fromBitmap(past)), CodecError);
    // A side past what a load takes, but readable: a bitmap file stored so
    // before can be stored again.
    QImage wide(70'000, 10, QImage::Format_Mono);
    EXPECT_NO_THROW(checkStorable(Picture::fromBitmap(wide)));
}

TEST(PictureStorage, ARunLengthBitmapThatEndsEarlyIsStoredAsTheSameBytesFromEveryLoad)
{
    QImage src(40, 30, QImage::Format_Indexed8);
    for (int i = 0; i < 200; ++i)
        src.setColor(i, qRgb(20 + i, 220 - i, 60));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            src.setPixel(x, y, uint((x * 7 + y) % 200));
    const QByteArray codes = test::runLengthCodes(src, false);
    const auto dir = test::makeTempDir("tolvane-pictures-");
    const QString path = QString::fromStdString((dir / "cut.bmp").string());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(test::bmpFile(40, 30, 8, 1, test::bmpColourTable(src), codes.left(codes.size() / 3)));
    f.close();

    MemoRow row;
    for (int code : {1, 2}) {
        test::poisonFreedMemory(1200, uchar(code));   // where the pixels are likely to land
        row.store("F_PHOTO1", ownFormatWrite, loadPictureFile(path), code);
    }
    const QByteArray first = bytesOf(row.read("F_PHOTO1", 1));
    EXPECT_EQ(bytesOf(row.read("F_PHOTO1", 2)), first);
    const QImage shown = bitmapFirstRead(row.read("F_PHOTO1", 2), NullTest::With).pixels();
    EXPECT_EQ(shown.pixel(0, 29), src.pixel(0, 29));
    EXPECT_EQ(shown.pixel(39, 0), qRgb(0, 0, 0));
    std::filesystem::remove_all(dir);
}
