// Pastes, file loads and size labels, with the platform's clipboard, dialog
// and message box answered by a recording stand-in.
#include "imaging/codec.h"
#include "pictures/input.h"
#include "pictures/labels.h"

#include "support/test_databases.h"
#include "support/test_pictures.h"
#include "ui/platform.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <deque>
#include <filesystem>
#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::pictures;

namespace {

class RecordingPlatform : public ui::Platform {
public:
    QStringList messages;
    std::deque<QString> answers;       // paths the dialog returns, "" = cancel
    QStringList lastFilters;
    std::optional<QImage> bitmap;      // the clipboard's bitmap format
    std::optional<QImage> picture;     // the general picture format
    bool pictureThrows = false;

    void messageBox(QWidget*, const QString& text) override { messages << text; }
    void errorBox(QWidget*, const QString& text) override { messages << "error: " + text; }
    QString openPictureFile(QWidget*, const QStringList& filters) override
    {
        lastFilters = filters;
        if (answers.empty())
            return {};
        QString a = answers.front();
        answers.pop_front();
        return a;
    }
    bool clipboardHasBitmap() override { return bitmap.has_value(); }
    QImage clipboardBitmap() override { return bitmap.value_or(QImage()); }
    bool clipboardHasPicture() override { return picture.has_value() || bitmap.has_value(); }
    QImage clipboardPicture() override
    {
        if (pictureThrows)
            throw std::runtime_error("clipboard busy");
        return picture ? *picture : bitmap.value_or(QImage());
    }
    void clipboardSetBitmap(const QImage& image) override { bitmap = image; }
    void clipboardClear() override { bitmap.reset(), picture.reset(); }
    std::unique_ptr<ui::Process> startProcess(const QString&) override { return nullptr; }
    QString currentDirFile(const QString& name) override { return name; }
    bool fileExists(const QString&) override { return false; }
    QString version() override { return "1.0.0.0"; }
};

QImage gradient(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 255) / w, (y * 255) / h, 90));
    return img;
}

class PictureInput : public ::testing::Test {
protected:
    RecordingPlatform platform;
    ui::Platform* previous = nullptr;
    std::filesystem::path dir = test::makeTempDir("tolvane-pictures-");

    void SetUp() override { previous = ui::setPlatform(&platform); }
    void TearDown() override
    {
        ui::setPlatform(previous);
        std::filesystem::remove_all(dir);
    }

    QString file(const std::string& name, const QByteArray& bytes)
    {
        const auto path = dir / name;
        std::filesystem::create_directories(path.parent_path());
        QFile f(QString::fromStdString(path.string()));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    QStringList takeMessages()
    {
        QStringList m = platform.messages;
        platform.messages.clear();
        return m;
    }
};

const QString kSizeCaption = QString::fromUtf8("BitMapのサイズ　");

}  // namespace

TEST(SizeLabels, Texts)
{
    const Picture bitmap = Picture::fromBitmap(gradient(640, 480));
    const Picture jpeg = Picture::fromJpeg(encodeJpeg(gradient(320, 200)));
    EXPECT_EQ(pasteSizeLabel(bitmap), "640 * 480");
    const QString loaded = fileLoadSizeLabel(bitmap);
    EXPECT_EQ(loaded, kSizeCaption + QChar(13) + "640 * 480");
    EXPECT_EQ(loaded.toUtf8(), QByteArray("BitMap\xE3\x81\xAE\xE3\x82\xB5\xE3\x82\xA4\xE3\x82\xBA"
                                          "\xE3\x80\x80\r640 * 480"));   // full-width space, CR only
    EXPECT_EQ(openingSizeLabel(jpeg, "jpeg"), "jpeg");
    EXPECT_EQ(openingSizeLabel(jpeg, "jpg"), "jpg");
    EXPECT_EQ(openingSizeLabel(bitmap, "jpg"), "640 * 480");
    EXPECT_EQ(memoPictureLabels(jpeg),
              std::make_pair(QString::fromUtf8("画像データは"), QString("jpeg")));
    EXPECT_EQ(memoPictureLabels(bitmap),
              std::make_pair(QString::fromUtf8("BitMapのサイズ"), QString("640 * 480")));
    EXPECT_EQ(pasteSizeLabel(Picture::fromBitmap(QImage())), "0 * 0");
}

TEST_F(PictureInput, BitmapPaste)
{
    Picture pic = Picture::fromJpeg(encodeJpeg(gradient(10, 10)));
    EXPECT_FALSE(bitmapPaste(nullptr, pic, Notice::Message));
    EXPECT_EQ(takeMessages(), QStringList{QString::fromUtf8("クリップボードに画像がありません")});
    EXPECT_FALSE(bitmapPaste(nullptr, pic, Notice::Silent));
    EXPECT_TRUE(takeMessages().isEmpty());
    EXPECT_TRUE(pic.isJpeg());

    // A picture only in another format counts as nothing.
    platform.picture = gradient(5, 5);
    EXPECT_FALSE(bitmapPaste(nullptr, pic, Notice::Message));
    EXPECT_EQ(takeMessages().size(), 1);
    EXPECT_TRUE(pic.isJpeg());

    platform.bitmap = gradient(120, 80);
    EXPECT_TRUE(bitmapPaste(nullptr, pic, Notice::Message));
    EXPECT_TRUE(pic.isBitmap());   // the JPEG picture is replaced
    EXPECT_EQ(pic.pixels(), *platform.bitmap);
    EXPECT_EQ(pasteSizeLabel(pic), "120 * 80");
    EXPECT_TRUE(takeMessages().isEmpty());
}

TEST_F(PictureInput, AnUnreadableClipboardBitmapIsAFailedPaste)
{
    // Offered, but no pixels came of it (a truncated file, or one too large
    // to decode): the picture held before stays, with "failed" where the
    // window shows messages.
    const Picture before = Picture::fromJpeg(encodeJpeg(gradient(10, 10)));
    Picture pic = before;
    platform.bitmap = QImage();
    EXPECT_FALSE(bitmapPaste(nullptr, pic, Notice::Message));
    EXPECT_EQ(takeMessages(), QStringList{QString::fromUtf8("失敗しました")});
    EXPECT_FALSE(bitmapPaste(nullptr, pic, Notice::Silent));
    EXPECT_TRUE(takeMessages().isEmpty());
    EXPECT_TRUE(pic.isJpeg());
    EXPECT_EQ(pic.jpegBytes(), before.jpegBytes());
}

TEST_F(PictureInput, AnyPicturePaste)
{
    Picture pic;
    EXPECT_FALSE(anyPicturePaste(nullptr, pic, Notice::Message));
    EXPECT_EQ(takeMessages(), QStringList{QString::fromUtf8("クリップボードに画像がありません")});
    EXPECT_FALSE(anyPicturePaste(nullptr, pic, Notice::Silent));
    EXPECT_TRUE(takeMessages().isEmpty());

    platform.picture = gradient(33, 22);   // e.g. a vector picture, drawn
    EXPECT_TRUE(anyPicturePaste(nullptr, pic, Notice::Silent));
    EXPECT_TRUE(pic.isBitmap());
    EXPECT_EQ(pic.pixels().size(), QSize(33, 22));

    const Picture before = pic;
    platform.pictureThrows = true;
    EXPECT_FALSE(anyPicturePaste(nullptr, pic, Notice::Silent));
    EXPECT_EQ(takeMessages(), QStringList{QString::fromUtf8("失敗しました")});
    platform.pictureThrows = false;
    platform.picture = QImage();   // offered, but unreadable
    EXPECT_FALSE(anyPicturePaste(nullptr, pic, Notice::Message));
    EXPECT_EQ(takeMessages(), QStringList{QString::fromUtf8("失敗しました")});
    EXPECT_EQ(pic.pixels(), before.pixels());
}

TEST_F(PictureInput, ExtensionSwitchFileLoad)
{
    const QByteArray jpeg = encodeJpeg(gradient(640, 480));
    Picture pic;

    // Cancel: nothing changes, no label.
    EXPECT_FALSE(extensionSwitchFileLoad(nullptr, pic).has_value());
    EXPECT_TRUE(pic.isNone());
    // The default picture filter: every type the load takes, first.
    for (const char* type : {"*.jpg", "*.jpeg", "*.bmp", "*.ico"})
        EXPECT_TRUE(platform.lastFilters.first().contains(type)) << type;

    // .jpeg in any case: a bitmap of the file's size.
    platform.answers = {file("a/Photo.JPEG", jpeg)};
    auto label = extensionSwitchFileLoad(nullptr, pic);
    ASSERT_TRUE(label.has_value());
    EXPECT_TRUE(pic.isBitmap());
    EXPECT_EQ(*label, kSizeCaption + QChar(13) + "640 * 480");

    // .bmp: a bitmap.
    platform.answers = {file("map.bmp", writeBmp(gradient(200, 100)))};
    label = extensionSwitchFileLoad(nullptr, pic);
    EXPECT_TRUE(pic.isBitmap());
    EXPECT_EQ(*label, kSizeCaption + QChar(13) + "200 * 100");

    // .png: nothing loaded, the label shows the picture already shown.
    platform.answers = {file("chart.png", QByteArray("\x89PNG"))};
    label = extensionSwitchFileLoad(nullptr, pic);
    EXPECT_EQ(pic.width(), 200);
    EXPECT_EQ(*label, kSizeCaption + QChar(13) + "200 * 100");
    EXPECT_TRUE(takeMessages().isEmpty());

    // A corrupt .jpg: the message, the picture kept.
    platform.answers = {file("bad.jpg", jpeg.left(jpeg.size() / 3))};
    label = extensionSwitchFileLoad(nullptr, pic);
    EXPECT_EQ(takeMessages(), QStringList{QString::fromUtf8("対応していないフォーマットです")});
    EXPECT_EQ(pic.width(), 200);
    EXPECT_EQ(*label, kSizeCaption + QChar(13) + "200 * 100");

    // .BMP in a folder name: loaded by its own extension, a JPEG stays JPEG.
    platform.answers = {file("maps.bmp/harbour.jpg", jpeg)};
    label = extensionSwitchFileLoad(nullptr, pic);
    EXPECT_TRUE(pic.isJpeg());
    EXPECT_EQ(pic.jpegBytes(), jpeg);
    EXPECT_EQ(*label, kSizeCaption + QChar(13) + "640 * 480");

    // A failure in that branch is the handler's error, the label not set.
    platform.answers = {file("broken.bmp", QByteArray("BMrubbish"))};
    EXPECT_THROW(extensionSwitchFileLoad(nullptr, pic), std::runtime_error);
    EXPECT_TRUE(pic.isJpeg());

    // No picture held and nothing loaded: the label is left as it was.
    Picture none;
    platform.answers = {file("chart2.png", QByteArray("x"))};
    EXPECT_FALSE(extensionSwitchFileLoad(nullptr, none).has_value());
    EXPECT_TRUE(takeMessages().isEmpty());
}

TEST_F(PictureInput, PlainFileLoad)
{
    const QByteArray jpeg = encodeJpeg(gradient(64, 48));
    const QString choose = QString::fromUtf8("JPEGフォーマットの写真を指定してくださいを");
    Picture pic = Picture::fromBitmap(gradient(9, 9));

    EXPECT_FALSE(plainFileLoad(nullptr, pic));   // cancel
    EXPECT_EQ(platform.lastFilters,
              (QStringList{QString::fromUtf8("JPEG イメージファイル (*.jpg)"),
                           QString::fromUtf8("JPEG イメージファイル (*.jpeg)")}));
    EXPECT_TRUE(takeMessages().isEmpty());

    platform.answers = {file("notes.txt", QByteArray("hello"))};
    EXPECT_FALSE(plainFileLoad(nullptr, pic));
    EXPECT_EQ(takeMessages(), QStringList{choose});
    EXPECT_EQ(pic.width(), 9);

    platform.answers = {file("photo.jpg", jpeg)};
    EXPECT_TRUE(plainFileLoad(nullptr, pic));
    EXPECT_TRUE(pic.isJpeg());
    EXPECT_EQ(pic.jpegBytes(), jpeg);   // the file's bytes, unchanged

    platform.answers = {file("photo2.JPEG", jpeg)};
    EXPECT_TRUE(plainFileLoad(nullptr, pic));
    EXPECT_TRUE(pic.isJpeg());

    platform.answers = {file("shot.bmp", writeBmp(gradient(30, 20)))};
    EXPECT_TRUE(plainFileLoad(nullptr, pic));
    EXPECT_TRUE(pic.isBitmap());
    EXPECT_EQ(pic.width(), 30);

    // Things that are not what their name says, or nothing we read.
    for (const QString& bad : {file("fake.jpg", QByteArray("not a jpeg")),
                               file("cut.jpg", jpeg.left(300)),
                               file("empty.jpg", QByteArray()),
                               file("fake.bmp", jpeg),
                               file("drawing.wmf", QByteArray(64, '\1')),
                               file("missing/none.jpg", QByteArray()) + ".gone"}) {
        platform.answers = {bad};
        EXPECT_FALSE(plainFileLoad(nullptr, pic)) << qPrintable(bad);
        EXPECT_EQ(takeMessages(), QStringList{choose}) << qPrintable(bad);
        EXPECT_TRUE(pic.isBitmap());
        EXPECT_EQ(pic.width(), 30);
    }
}

TEST_F(PictureInput, DamagedTurnedAndCmykFilesFromBothLoads)
{
    const QByteArray whole = encodeJpeg(gradient(640, 480));
    const QByteArray cut = whole.left(whole.size() / 2) + QByteArray("\xFF\xD9", 2);
    const QByteArray portrait = test::withExifOrientation(whole, 6);
    Picture pic = Picture::fromBitmap(gradient(9, 9));

    // Cut short with its end marker: refused by both loads, the picture kept.
    platform.answers = {file("cut.jpg", cut)};
    EXPECT_FALSE(plainFileLoad(nullptr, pic));
    EXPECT_EQ(takeMessages(), QStringList{QString::fromUtf8("JPEGフォーマットの写真を指定してくださいを")});
    platform.answers = {file("cut.jpg", cut)};
    EXPECT_EQ(*extensionSwitchFileLoad(nullptr, pic), kSizeCaption + QChar(13) + "9 * 9");
    EXPECT_EQ(takeMessages(), QStringList{QString::fromUtf8("対応していないフォーマットです")});

    // A portrait phone photo: upright in both, its file kept by the plain load.
    platform.answers = {file("phone.jpg", portrait)};
    EXPECT_EQ(*extensionSwitchFileLoad(nullptr, pic), kSizeCaption + QChar(13) + "480 * 640");
    EXPECT_TRUE(pic.isBitmap());
    EXPECT_EQ(pic.pixels(), decodeJpeg(portrait));
    platform.answers = {file("phone.jpg", portrait)};
    EXPECT_TRUE(plainFileLoad(nullptr, pic));
    EXPECT_EQ(pic.jpegBytes(), portrait);
    EXPECT_EQ(pasteSizeLabel(pic), "480 * 640");

    // A CMYK file is a JPEG photo like any other.
    platform.answers = {file("scan.jpg", test::cmykJpeg(gradient(64, 48)))};
    EXPECT_TRUE(plainFileLoad(nullptr, pic));
    EXPECT_EQ(pic.pixels().size(), QSize(64, 48));
    EXPECT_TRUE(takeMessages().isEmpty());
}

TEST_F(PictureInput, FilesCutShortAreRefusedByBothLoadsAndTheirWholeTwinsLoad)
{
    const QString choose = QString::fromUtf8("JPEGフォーマットの写真を指定してくださいを");
    const QString unsupported = QString::fromUtf8("対応していないフォーマットです");
    for (const test::CutJpeg& c : test::jpegsCutShort()) {
        Picture pic = Picture::fromBitmap(gradient(9, 9));
        platform.answers = {file("cut.jpg", c.cut)};
        EXPECT_FALSE(plainFileLoad(nullptr, pic)) << c.what;
        EXPECT_EQ(takeMessages(), QStringList{choose}) << c.what;
        platform.answers = {file("cut.jpg", c.cut)};
        EXPECT_EQ(*extensionSwitchFileLoad(nullptr, pic), kSizeCaption + QChar(13) + "9 * 9") << c.what;
        EXPECT_EQ(takeMessages(), QStringList{unsupported}) << c.what;
        EXPECT_EQ(pic.width(), 9) << c.what;

        platform.answers = {file("whole.jpg", c.whole)};
        EXPECT_TRUE(plainFileLoad(nullptr, pic)) << c.what;
        EXPECT_EQ(pic.jpegBytes(), c.whole) << c.what;
        EXPECT_FALSE(pic.pixels().isNull()) << c.what;
        platform.answers = {file("whole.jpg", c.whole)};
        EXPECT_TRUE(extensionSwitchFileLoad(nullptr, pic).has_value()) << c.what;
        EXPECT_TRUE(pic.isBitmap()) << c.what;
        EXPECT_TRUE(takeMessages().isEmpty()) << c.what;
    }

    // A palette bitmap whose pixel offset is 0 (right after its colour
    // table), cut short: refused like the same cut with its offset given.
    QByteArray bmp = writeBmp(gradient(40, 30).convertToFormat(QImage::Format_Indexed8));
    bmp[10] = bmp[11] = bmp[12] = bmp[13] = '\0';
    Picture pic = Picture::fromBitmap(gradient(9, 9));
    platform.answers = {file("whole.bmp", bmp)};
    EXPECT_TRUE(plainFileLoad(nullptr, pic));
    EXPECT_EQ(pic.width(), 40);
    platform.answers = {file("cut.bmp", bmp.left(bmp.size() - 200))};
    EXPECT_FALSE(plainFileLoad(nullptr, pic));
    EXPECT_EQ(takeMessages(), QStringList{choose});
    platform.answers = {file("cut.bmp", bmp.left(bmp.size() - 200))};
    EXPECT_THROW(extensionSwitchFileLoad(nullptr, pic), CodecError);
    EXPECT_EQ(pic.width(), 40);
}

TEST_F(PictureInput, IconFileBecomesABitmap)
{
    QByteArray ico;
    {
        QBuffer buf(&ico);
        buf.open(QIODevice::WriteOnly);
        QImageWriter w(&buf, "ico");
        ASSERT_TRUE(w.write(gradient(32, 32).convertToFormat(QImage::Format_ARGB32)))
            << qPrintable(w.errorString());
    }
    Picture pic;
    platform.answers = {file("fish.ico", ico)};
    EXPECT_TRUE(plainFileLoad(nullptr, pic));
    EXPECT_TRUE(pic.isBitmap());
    EXPECT_EQ(pic.pixels().size(), QSize(32, 32));
}

TEST_F(PictureInput, ARunLengthBitmapThatEndsEarlyLoadsTheSameEveryTimeBlackWhereItEnds)
{
    QImage src(40, 30, QImage::Format_Indexed8);
    for (int i = 0; i < 16; ++i)
        src.setColor(i, qRgb(40 + i * 10, 200 - i * 5, 90));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            src.setPixel(x, y, uint((x / 3 + y) % 16));
    for (bool four : {false, true}) {
        const QByteArray codes = test::runLengthCodes(src, four);
        platform.answers = {file("cut.bmp", test::bmpFile(40, 30, four ? 4 : 8, four ? 2 : 1,
                                                          test::bmpColourTable(src),
                                                          codes.left(codes.size() / 2 + 1)))};
        platform.answers.push_back(platform.answers.front());
        QImage loads[2];
        for (int i = 0; i < 2; ++i) {
            test::poisonFreedMemory(1200, uchar(3 + i));   // where the pixels are likely to land
            Picture pic;
            ASSERT_TRUE(plainFileLoad(nullptr, pic));
            loads[i] = pic.pixels().convertToFormat(QImage::Format_RGB32);
        }
        EXPECT_EQ(loads[0], loads[1]);
        EXPECT_EQ(loads[0].pixel(0, 29), src.pixel(0, 29));   // the bottom row is there
        EXPECT_EQ(loads[0].pixel(39, 0), qRgb(0, 0, 0));      // the top one is not
    }
    EXPECT_TRUE(takeMessages().isEmpty());
}

TEST_F(PictureInput, PicturesWithASideOver65500PixelsAreRefusedByTheLoadsAndThePastes)
{
    const QString choose = QString::fromUtf8("JPEGフォーマットの写真を指定してくださいを");
    const auto mono = [](int w, int h) {
        QImage img(w, h, QImage::Format_Mono);
        img.fill(1);
        return img;
    };
    Picture pic = Picture::fromBitmap(gradient(9, 9));
    for (QSize size : {QSize(70000, 10), QSize(10, 65501)}) {
        const QString path = file("long.bmp", writeBmp(mono(size.width(), size.height())));
        platform.answers = {path};
        EXPECT_FALSE(plainFileLoad(nullptr, pic));
        EXPECT_EQ(takeMessages(), QStringList{choose});
        platform.answers = {path};
        try {
            extensionSwitchFileLoad(nullptr, pic);
            ADD_FAILURE() << "loaded";
        } catch (const CodecError& e) {
            const std::string named = std::to_string(size.width()) + " x " + std::to_string(size.height());
            EXPECT_NE(std::string(e.what()).find(named), std::string::npos) << e.what();
        }
        EXPECT_EQ(pic.width(), 9);
    }
    platform.answers = {file("edge.bmp", writeBmp(mono(65500, 10)))};
    EXPECT_TRUE(plainFileLoad(nullptr, pic));
    EXPECT_EQ(pic.width(), 65500);

    platform.bitmap = gradient(65501, 2);
    EXPECT_FALSE(bitmapPaste(nullptr, pic, Notice::Message));
    EXPECT_FALSE(bitmapPaste(nullptr, pic, Notice::Silent));
    EXPECT_FALSE(anyPicturePaste(nullptr, pic, Notice::Silent));
    EXPECT_EQ(takeMessages(), QStringList(2, QString::fromUtf8("失敗しました")));
    EXPECT_EQ(pic.width(), 65500);
    platform.bitmap = gradient(2, 65500);
    EXPECT_TRUE(bitmapPaste(nullptr, pic, Notice::Message));
    EXPECT_EQ(pic.height(), 65500);
}

TEST_F(PictureInput, SixteenBitBitmapsLoadWithWhiteAtFullBrightness)
{
    // 5-5-5 rows: black, white, full red.
    const QByteArray rows("\0\0\xFF\x7F\0\x7C\0\0", 8);
    platform.answers = {file("555.bmp", test::bmpFile(3, 1, 16, 0, {}, rows))};
    Picture pic;
    ASSERT_TRUE(plainFileLoad(nullptr, pic));
    EXPECT_EQ(pic.pixels().pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(pic.pixels().pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(pic.pixels().pixel(2, 0), qRgb(255, 0, 0));
}
