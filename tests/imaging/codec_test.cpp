// The picture type and the JPEG and BMP codecs, including what they do with
// input that is not a whole, sane picture.
#include "imaging/codec.h"
#include "imaging/picture.h"

#include <QBuffer>
#include <QImageReader>
#include <QRandomGenerator>
#include <bit>
#include <tuple>
#include <vector>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>
#include "support/test_pictures.h"

using namespace tolvane::pictures;

namespace {

QImage gradient(int w, int h, QImage::Format format = QImage::Format_RGB888)
{
    QImage img(w, h, format);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixelColor(x, y, QColor((x * 255) / std::max(1, w - 1),
                                           (y * 255) / std::max(1, h - 1), 128));
    return img;
}

QColor blockAverage(const QImage& img, QPoint corner)
{
    int r = 0, g = 0, b = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const QColor c = img.pixelColor(corner + QPoint(x, y));
            r += c.red();
            g += c.green();
            b += c.blue();
        }
    return QColor(r / 64, g / 64, b / 64);
}

// Other JPEG forms, written with plain libjpeg: greyscale, progressive.
QByteArray otherJpeg(const QImage& src, bool grey, bool progressive)
{
    return tolvane::test::cameraJpeg(src, grey, progressive);
}

// Offset of the first marker 0xFF `code` in a JPEG stream, -1 when absent.
qsizetype findMarker(const QByteArray& jpeg, uchar code)
{
    for (qsizetype i = 2; i + 1 < jpeg.size();) {
        if (uchar(jpeg[i]) != 0xFF)
            return -1;
        const uchar m = uchar(jpeg[i + 1]);
        if (m == code)
            return i;
        if (m == 0xDA)   // start of scan: entropy-coded data follows
            return -1;
        i += 2 + ((uchar(jpeg[i + 2]) << 8) | uchar(jpeg[i + 3]));
    }
    return -1;
}

void putLe32(QByteArray& b, int at, qint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((quint32(v) >> (8 * i)) & 0xFF);
}

quint32 le32(const QByteArray& b, int at)
{
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | uchar(b[at + i]);
    return v;
}

// Either an error or a picture of the size the header claims: never a crash.
void expectErrorOrPicture(const QByteArray& bytes, bool jpeg)
{
    try {
        const QImage img = jpeg ? decodeJpeg(bytes) : readBmp(bytes);
        EXPECT_FALSE(img.isNull() && !bytes.isEmpty());
    } catch (const CodecError& e) {
        EXPECT_STRNE(e.what(), "");
    }
}

}  // namespace

TEST(JpegCodec, RoundTripKeepsSizeAndColours)
{
    for (auto format : {QImage::Format_RGB888, QImage::Format_RGB32, QImage::Format_ARGB32,
                        QImage::Format_Indexed8}) {
        const QImage src = gradient(64, 48).convertToFormat(format);
        const QByteArray bytes = encodeJpeg(src);
        ASSERT_GT(bytes.size(), 2);
        const QImage back = decodeJpeg(bytes);
        EXPECT_EQ(back.format(), QImage::Format_RGB888);
        ASSERT_EQ(back.size(), src.size());
        for (QPoint p : {QPoint(10, 10), QPoint(56, 0), QPoint(0, 40)}) {
            // averaged over a block: the indexed form is dithered
            const QColor a = blockAverage(src, p), b = blockAverage(back, p);
            EXPECT_NEAR(a.red(), b.red(), 8) << format;
            EXPECT_NEAR(a.green(), b.green(), 8) << format;
            EXPECT_NEAR(a.blue(), b.blue(), 8) << format;
        }
    }
}

TEST(JpegCodec, EncoderWritesBaselineColourAtQuality90)
{
    const QByteArray bytes = encodeJpeg(gradient(33, 17));
    EXPECT_EQ(uchar(bytes[0]), 0xFF);
    EXPECT_EQ(uchar(bytes[1]), 0xD8);
    const qsizetype sof = findMarker(bytes, 0xC0);   // baseline sequential
    ASSERT_GE(sof, 0);
    EXPECT_EQ(findMarker(bytes, 0xC2), -1);            // not progressive
    EXPECT_EQ(uchar(bytes[sof + 4]), 8);               // 8-bit samples
    EXPECT_EQ((uchar(bytes[sof + 5]) << 8) | uchar(bytes[sof + 6]), 17);
    EXPECT_EQ((uchar(bytes[sof + 7]) << 8) | uchar(bytes[sof + 8]), 33);
    EXPECT_EQ(uchar(bytes[sof + 9]), 3);               // colour
    // Quality 90 scales the standard luminance table by 20%: its first entry
    // 16 becomes 3, its last 99 becomes 20, all within 8 bits (baseline).
    const qsizetype dqt = findMarker(bytes, 0xDB);
    ASSERT_GE(dqt, 0);
    EXPECT_EQ(uchar(bytes[dqt + 4]) >> 4, 0);          // 8-bit table
    EXPECT_EQ(uchar(bytes[dqt + 5]), 3);
    EXPECT_EQ(uchar(bytes[dqt + 5 + 63]), 20);
}

TEST(JpegCodec, PictureWithoutPixelsEncodesToZeroBytes)
{
    EXPECT_TRUE(encodeJpeg(QImage()).isEmpty());
    EXPECT_TRUE(encodeJpeg(QImage(0, 5, QImage::Format_RGB888)).isEmpty());
    EXPECT_TRUE(encodeJpeg(QImage(7, 0, QImage::Format_RGB32)).isEmpty());
}

TEST(JpegCodec, DecodesGreyAndProgressiveToRgb)
{
    const QImage src = gradient(40, 30);
    for (bool grey : {false, true})
        for (bool progressive : {false, true}) {
            const QImage out = decodeJpeg(otherJpeg(src, grey, progressive));
            EXPECT_EQ(out.format(), QImage::Format_RGB888);
            EXPECT_EQ(out.size(), src.size());
            if (grey) {
                const QColor c = out.pixelColor(20, 15);
                EXPECT_EQ(c.red(), c.green());
                EXPECT_EQ(c.green(), c.blue());
            }
        }
}

TEST(JpegCodec, HeaderSizeWithoutDecoding)
{
    EXPECT_EQ(jpegSize(encodeJpeg(gradient(123, 45))), QSize(123, 45));
    EXPECT_THROW(jpegSize(QByteArray("not a jpeg")), CodecError);
}

// Encodes `pixels` with only `headroom` bytes of address space left to the
// process and ends it: 0 when the encoder reported the lack of memory as an
// error, 2 when the limit did not bite.
[[noreturn]] void encodeWithHeadroom(const QImage& pixels, rlim_t headroom)
{
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t now = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE));
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = now + headroom;
    setrlimit(RLIMIT_AS, &limit);
    try {
        encodeJpeg(pixels);
    } catch (const CodecError&) {
        std::_Exit(0);
    }
    std::_Exit(2);
}

// Memory running out while the encoder's output grows is an error like any
// other: the buffer written so far is released once, never twice.
TEST(JpegEncoderRobustnessDeathTest, RunningOutOfMemoryWhileWritingIsAnError)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Noise compresses badly: its JPEG grows through many megabytes.
    QImage noise(2400, 2400, QImage::Format_RGB888);
    QRandomGenerator rng(99);
    for (int y = 0; y < noise.height(); ++y) {
        uchar* line = noise.scanLine(y);
        for (qsizetype i = 0; i < noise.bytesPerLine(); ++i)
            line[i] = uchar(rng.bounded(256));
    }
    // Room for the encoder's work buffers and the first few megabytes of
    // output, not for the whole file.
    EXPECT_EXIT(encodeWithHeadroom(noise, rlim_t(6) << 20), ::testing::ExitedWithCode(0), "");
}

TEST(JpegDecoderRobustness, EmptyGarbageAndTruncatedInputAreErrors)
{
    EXPECT_THROW(decodeJpeg(QByteArray()), CodecError);
    EXPECT_THROW(decodeJpeg(QByteArray("\xFF\xD8", 2)), CodecError);
    EXPECT_THROW(decodeJpeg(QByteArray(1000, 'x')), CodecError);
    for (const QByteArray& full : {encodeJpeg(gradient(200, 150)),
                                   otherJpeg(gradient(200, 150), false, true)}) {
        // Cut anywhere before the last scan's data is complete.
        for (qsizetype cut : {qsizetype(1), qsizetype(20), qsizetype(200), full.size() / 2,
                              full.size() - 40})
            EXPECT_THROW(decodeJpeg(full.left(cut)), CodecError) << cut;
    }
    try {
        decodeJpeg(QByteArray(100, 'x'));
        FAIL();
    } catch (const CodecError& e) {
        EXPECT_STREQ(e.what(), "Not a JPEG file: starts with 0x78 0x78");   // libjpeg's own text
    }
}

TEST(JpegDecoderRobustness, HugeHeaderDimensionsRefusedBeforeAllocating)
{
    QByteArray bytes = encodeJpeg(gradient(16, 16));
    const qsizetype sof = findMarker(bytes, 0xC0);
    ASSERT_GE(sof, 0);
    bytes[sof + 5] = char(0xFD);   // 65000 x 65000
    bytes[sof + 6] = char(0xE8);
    bytes[sof + 7] = char(0xFD);
    bytes[sof + 8] = char(0xE8);
    try {
        decodeJpeg(bytes);
        FAIL();
    } catch (const CodecError& e) {
        EXPECT_NE(std::string(e.what()).find("65000 x 65000"), std::string::npos) << e.what();
    }
    EXPECT_THROW(Picture::fromJpeg(bytes).pixels(), std::runtime_error);
}

TEST(JpegDecoderRobustness, CorruptedBytesEndInErrorOrPicture)
{
    const QByteArray good = encodeJpeg(gradient(64, 64));
    QRandomGenerator rng(4711);
    for (int round = 0; round < 500; ++round) {
        QByteArray bad = good;
        const int flips = 1 + int(rng.bounded(8));
        for (int i = 0; i < flips; ++i)
            bad[qsizetype(rng.bounded(int(bad.size())))] = char(rng.bounded(256));
        expectErrorOrPicture(bad, true);
    }
    QByteArray noSof = good;
    noSof[findMarker(good, 0xC0) + 1] = char(0xC9);   // arithmetic-coded SOF with Huffman data
    expectErrorOrPicture(noSof, true);
}

TEST(BmpCodec, RoundTripsCommonForms)
{
    const QImage src = gradient(37, 21, QImage::Format_RGB32);
    const QByteArray bytes = writeBmp(src);
    ASSERT_GE(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    QImage back = readBmp(bytes);
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), src);

    // 8-bit indexed and 1-bit
    for (auto format : {QImage::Format_Indexed8, QImage::Format_Mono}) {
        const QImage idx = src.convertToFormat(format);
        EXPECT_EQ(readBmp(writeBmp(idx)).convertToFormat(QImage::Format_RGB32),
                  idx.convertToFormat(QImage::Format_RGB32));
    }

    // A top-down file (negative height) reads the right way up.
    QByteArray topDown = writeBmp(src);
    const int stride = (37 * 24 + 31) / 32 * 4;
    const int off = 54;
    QByteArray flipped = topDown.left(off);
    for (int row = 20; row >= 0; --row)
        flipped += topDown.mid(off + row * stride, stride);
    putLe32(flipped, 22, -21);
    EXPECT_EQ(readBmp(flipped).convertToFormat(QImage::Format_RGB32), src);

    // OS/2 core header (12 bytes, 16-bit sizes), 24 bits
    QByteArray os2("BM", 2);
    os2.append(4, '\0');
    os2.append(4, '\0');
    os2.append(char(26)).append(3, '\0');
    os2.append(char(12)).append(3, '\0');
    os2.append(char(2)).append('\0').append(char(1)).append('\0');   // 2 x 1
    os2.append(char(1)).append('\0').append(char(24)).append('\0');
    os2.append("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8);   // red, green, row padding
    putLe32(os2, 2, int(os2.size()));
    const QImage core = readBmp(os2);
    ASSERT_EQ(core.size(), QSize(2, 1));
    EXPECT_EQ(core.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(core.pixelColor(1, 0), QColor(0, 255, 0));
}

TEST(BmpCodec, EmptyBitmapIsZeroBytesBothWays)
{
    EXPECT_TRUE(writeBmp(QImage()).isEmpty());
    EXPECT_TRUE(readBmp(QByteArray()).isNull());
}

TEST(BmpDecoderRobustness, TruncatedCorruptAndHugeInputAreErrors)
{
    const QByteArray good = writeBmp(gradient(50, 40, QImage::Format_RGB32));
    for (qsizetype cut : {qsizetype(1), qsizetype(2), qsizetype(14), qsizetype(30), qsizetype(54),
                          qsizetype(1000), good.size() - 1})
        EXPECT_THROW(readBmp(good.left(cut)), CodecError) << cut;
    EXPECT_THROW(readBmp(QByteArray(100, 'x')), CodecError);
    EXPECT_THROW(readBmp(encodeJpeg(gradient(8, 8))), CodecError);   // never another reader

    QByteArray huge = good;
    putLe32(huge, 18, 100000);
    putLe32(huge, 22, 100000);
    try {
        readBmp(huge);
        FAIL();
    } catch (const CodecError& e) {
        EXPECT_NE(std::string(e.what()).find("100000 x 100000"), std::string::npos) << e.what();
    }
    QByteArray negative = good;
    putLe32(negative, 18, -5);
    EXPECT_THROW(readBmp(negative), CodecError);
    QByteArray wide = good;   // fits the limit, but the file holds far too few rows
    putLe32(wide, 18, 20000);
    putLe32(wide, 22, 4000);
    EXPECT_THROW(readBmp(wide), CodecError);
    QByteArray depth = good;
    depth[28] = char(64);
    EXPECT_THROW(readBmp(depth), CodecError);

    QRandomGenerator rng(1234);
    for (int round = 0; round < 500; ++round) {
        QByteArray bad = good;
        for (int i = 0; i < 4; ++i)
            bad[qsizetype(rng.bounded(60))] = char(rng.bounded(256));   // the headers
        expectErrorOrPicture(bad, false);
    }
}

namespace {

using tolvane::test::bmpColourTable;
using tolvane::test::bmpFile;
using tolvane::test::runLengthCodes;

// An indexed picture with runs on its left half and no two equal neighbours
// on its right; no entry of its table is black unless `blackAt` names one.
QImage indexedPattern(int w, int h, int colours, int blackAt = -1)
{
    QImage img(w, h, QImage::Format_Indexed8);
    for (int i = 0; i < colours; ++i)
        img.setColor(i, i == blackAt ? qRgb(0, 0, 0)
                                     : qRgb(10 + i * 37 % 240, 20 + i * 91 % 230, 30 + i * 53 % 220));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, uint(x < w / 2 ? (x / 6 + y) % colours : (x * 7 + y * 13) % colours));
    return img;
}

// Two loads of `file`, each onto freed memory filled differently, must give
// the same picture; returned in 32-bit colour.
QImage loadTwiceTheSame(const QByteArray& file)
{
    QImage first;
    for (unsigned char fill : {0x03, 0x05}) {
        for (std::size_t size : {1200, 4800})   // a 40 x 30 picture's pixels at 8 and 32 bits
            tolvane::test::poisonFreedMemory(size, fill);
        const QImage img = readBmp(file).convertToFormat(QImage::Format_RGB32);
        if (first.isNull())
            first = img;
        else
            EXPECT_EQ(img, first);
    }
    return first;
}

}  // namespace

TEST(BmpDecoderRobustness, PaletteFileCutShortIsRefusedWhateverItsPixelOffset)
{
    const QImage indexed = gradient(40, 30, QImage::Format_RGB32).convertToFormat(QImage::Format_Indexed8);
    const QByteArray whole = writeBmp(indexed);
    ASSERT_GE(indexed.colorCount(), 2);
    ASSERT_EQ(le32(whole, 10), 54u + 4u * unsigned(indexed.colorCount()));
    QByteArray noOffset = whole;   // 0: the pixels right after the colour table
    putLe32(noOffset, 10, 0);
    EXPECT_EQ(readBmp(noOffset), readBmp(whole));
    const qsizetype rowBytes = (40 + 3) / 4 * 4;
    for (const QByteArray& file : {whole, noOffset})
        for (qsizetype lost : {qsizetype(1), rowBytes, 3 * rowBytes})
            EXPECT_THROW(readBmp(file.left(file.size() - lost)), CodecError) << le32(file, 10) << " " << lost;

    // Header sizes other than 12, 40, 64, 108 and 124 bytes are not read.
    QByteArray odd = whole;
    putLe32(odd, 14, 20);
    EXPECT_THROW(readBmp(odd), CodecError);
}

TEST(BmpCodec, ReadsLeaveQtsAllocationLimitAsSetAtStart)
{
    const int before = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(7);
    const QImage read = readBmp(writeBmp(gradient(30, 20, QImage::Format_RGB32)));
    EXPECT_EQ(QImageReader::allocationLimit(), 7);
    QImageReader::setAllocationLimit(before);
    EXPECT_EQ(read.size(), QSize(30, 20));
}

TEST(BmpCodec, RunLengthFilesReadAsTheirPixelsAndAsQtReadsThem)
{
    for (bool four : {false, true}) {
        const QImage src = indexedPattern(41, 23, four ? 16 : 200);
        const QByteArray file = bmpFile(41, 23, four ? 4 : 8, four ? 2 : 1, bmpColourTable(src),
                                        runLengthCodes(src, four));
        const QImage back = readBmp(file);
        EXPECT_EQ(back.format(), QImage::Format_Indexed8);
        EXPECT_EQ(back.colorTable(), src.colorTable());
        EXPECT_EQ(back, src) << four;
        QByteArray data = file;
        QBuffer buffer(&data);
        QImage qt;
        ASSERT_TRUE(QImageReader(&buffer, "bmp").read(&qt));
        EXPECT_EQ(back, qt) << four;
    }
}

TEST(BmpDecoderRobustness, RunLengthDataCutShortOrPastThePictureIsTheSameEveryLoadAndBlackWhereUnpainted)
{
    const QRgb black = qRgb(0, 0, 0);
    // Cut at code boundaries and inside codes: every pixel is the picture's
    // or black, the top row (decoded last) black; with a table lacking black,
    // a full one lacking it (the picture then in 32-bit colour), one with it.
    for (auto [four, colours, blackAt] : {std::tuple{false, 200, -1}, std::tuple{false, 256, -1},
                                          std::tuple{false, 64, 9}, std::tuple{true, 16, -1}}) {
        const QImage src = indexedPattern(40, 30, colours, blackAt);
        const QImage srcRgb = src.convertToFormat(QImage::Format_RGB32);
        const QByteArray codes = runLengthCodes(src, four);
        for (qsizetype cut : {qsizetype(0), qsizetype(1), codes.size() / 3, codes.size() / 3 + 1,
                              codes.size() / 2, codes.size() / 2 + 1}) {
            const QImage img = loadTwiceTheSame(
                bmpFile(40, 30, four ? 4 : 8, four ? 2 : 1, bmpColourTable(src), codes.left(cut)));
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 40; ++x)
                    ASSERT_TRUE(img.pixel(x, y) == srcRgb.pixel(x, y) || img.pixel(x, y) == black)
                        << four << " " << colours << " cut " << cut << " at " << x << "," << y;
            for (int x = 0; x < 40; ++x)
                EXPECT_EQ(img.pixel(x, 0), black) << four << " " << colours << " cut " << cut;
        }
        // The codes of the bottom ten rows, then the end of the picture.
        const QImage img = loadTwiceTheSame(bmpFile(40, 30, four ? 4 : 8, four ? 2 : 1,
                                                    bmpColourTable(src),
                                                    runLengthCodes(src.copy(0, 20, 40, 10), four)));
        EXPECT_EQ(img.copy(0, 20, 40, 10), srcRgb.copy(0, 20, 40, 10));
        QImage top(40, 20, QImage::Format_RGB32);
        top.fill(black);
        EXPECT_EQ(img.copy(0, 0, 40, 20), top);
    }

    // Codes that run past the picture: (x from, x to, row from the bottom, index) painted.
    using Span = std::tuple<int, int, int, int>;
    for (bool four : {false, true}) {
        const QImage src = indexedPattern(40, 30, 16);
        const auto run = [four](int n, int index) {
            return QByteArray(1, char(n)) + char(four ? index << 4 | index : index);
        };
        const QByteArray eol("\0\0", 2), eob("\0\1", 2);
        const std::vector<std::pair<QByteArray, std::vector<Span>>> cases = {
            {run(200, 2) + eol + run(10, 3) + eob, {{0, 40, 0, 2}, {0, 10, 1, 3}}},
            {run(5, 1) + QByteArray("\0\2\x64\0", 4) + run(5, 2) + eol + run(3, 4), {{0, 5, 0, 1}, {0, 3, 1, 4}}},
            {run(4, 1) + QByteArray("\0\2\0\xC8", 4) + run(4, 2), {{0, 4, 0, 1}}},
            {run(2, 1) + QByteArray("\0\2\3\2", 4) + run(2, 5), {{0, 2, 0, 1}, {5, 7, 2, 5}}},
            {QByteArray("\0\x32", 2) + QByteArray(four ? 25 : 50, char(four ? 0x66 : 6)) + eol, {{0, 40, 0, 6}}},
            {run(3, 1) + char(5), {{0, 3, 0, 1}}},
            {QByteArray("\0\x0A", 2) + QByteArray(3, char(four ? 0x77 : 7)), {{0, four ? 6 : 3, 0, 7}}},
        };
        for (const auto& [codes, spans] : cases) {
            QImage expected(40, 30, QImage::Format_RGB32);
            expected.fill(black);
            for (const auto& [from, to, row, index] : spans)
                for (int x = from; x < to; ++x)
                    expected.setPixel(x, 29 - row, src.color(index));
            EXPECT_EQ(loadTwiceTheSame(bmpFile(40, 30, four ? 4 : 8, four ? 2 : 1,
                                               bmpColourTable(src), codes)),
                      expected)
                << four << " " << codes.toHex().toStdString();
        }
    }
}

TEST(BmpCodec, SixteenBitChannelsReadInTheFullRange)
{
    // 5-5-5 plain rows, 5-5-5 and 5-6-5 bit fields: each channel's levels
    // 0 ... top read as 0 ... 255 evenly (black 0, 0, 0 and white 255, 255, 255).
    struct Form { int compression; quint32 masks[3]; };
    for (const Form& form : {Form{0, {0x7C00, 0x03E0, 0x001F}}, Form{3, {0x7C00, 0x03E0, 0x001F}},
                             Form{3, {0xF800, 0x07E0, 0x001F}}}) {
        QByteArray masks, pixels;
        for (quint32 m : form.masks)
            for (int i = 0; i < 4; ++i)
                masks.append(char(m >> (8 * i)));
        for (quint32 v = 0; v < 64; ++v) {
            quint32 p = 0;
            for (quint32 m : form.masks)
                p |= std::min(v, m >> std::countr_zero(m)) << std::countr_zero(m);
            pixels.append(char(p & 0xFF)).append(char(p >> 8));
        }
        const QImage img = readBmp(bmpFile(64, 1, 16, form.compression,
                                           form.compression ? masks : QByteArray(), pixels));
        EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0));
        EXPECT_EQ(img.pixel(63, 0), qRgb(255, 255, 255));
        for (int v = 0; v < 64; ++v) {
            const int got[3] = {qRed(img.pixel(v, 0)), qGreen(img.pixel(v, 0)), qBlue(img.pixel(v, 0))};
            for (int c = 0; c < 3; ++c) {
                const double top = form.masks[c] >> std::countr_zero(form.masks[c]);
                EXPECT_NEAR(got[c], std::min<double>(v, top) * 255 / top, 0.5) << v << " " << c;
            }
        }
    }
}

TEST(Picture, KindsAndTheirPixels)
{
    const Picture none;
    EXPECT_TRUE(none.isNone());
    EXPECT_TRUE(none.pixels().isNull());
    EXPECT_EQ(none.width(), 0);

    const Picture empty = Picture::fromBitmap(QImage());
    EXPECT_TRUE(empty.isBitmap());   // an empty 0 x 0 bitmap is a picture
    EXPECT_FALSE(empty.isNone());
    EXPECT_EQ(empty.width(), 0);
    EXPECT_EQ(empty.height(), 0);

    const Picture bitmap = Picture::fromBitmap(gradient(5, 4));
    EXPECT_EQ(bitmap.kind(), Picture::Kind::Bitmap);
    EXPECT_EQ(bitmap.pixels().size(), QSize(5, 4));
    EXPECT_TRUE(bitmap.jpegBytes().isEmpty());
}

TEST(Picture, JpegDecodedOnFirstNeedAndCopiesKeepKindAndBytes)
{
    const QByteArray bytes = encodeJpeg(gradient(30, 20));
    const Picture p = Picture::fromJpeg(bytes);
    EXPECT_TRUE(p.isJpeg());
    EXPECT_FALSE(p.isDecoded());
    EXPECT_EQ(p.width(), 30);   // from the header
    EXPECT_EQ(p.height(), 20);
    EXPECT_FALSE(p.isDecoded());
    const Picture copy = p;
    EXPECT_EQ(copy.pixels().size(), QSize(30, 20));
    EXPECT_TRUE(p.isDecoded());   // copies share the one decode
    EXPECT_EQ(copy.jpegBytes(), bytes);
    EXPECT_TRUE(copy.isJpeg());

    const Picture broken = Picture::fromJpeg(bytes.left(100));
    EXPECT_THROW(broken.pixels(), std::runtime_error);
    EXPECT_TRUE(broken.isJpeg());
}

TEST(JpegScaledDecode, SmallestScaleCoveringTheSizeAskedWithTheSamePicture)
{
    const QImage src = gradient(400, 300);
    const QByteArray bytes = encodeJpeg(src);
    struct Case { QSize asked; QSize got; };
    for (const Case& c : {Case{{0, 0}, {50, 38}},        // 1/8, rounded up
                          Case{{50, 38}, {50, 38}},
                          Case{{100, 75}, {100, 75}},     // 2/8
                          Case{{101, 75}, {150, 113}},    // 3/8: both sides at least as asked
                          Case{{100, 76}, {150, 113}},
                          Case{{350, 200}, {350, 263}},   // 7/8
                          Case{{351, 10}, {400, 300}},    // only the full size covers it
                          Case{{4000, 3000}, {400, 300}}}) {
        QSize full;
        const QImage scaled = decodeJpegScaled(bytes, c.asked, &full);
        EXPECT_EQ(scaled.size(), c.got) << c.asked.width() << " x " << c.asked.height();
        EXPECT_EQ(scaled.format(), QImage::Format_RGB888);
        EXPECT_EQ(full, QSize(400, 300));
        const QImage reference = src.scaled(scaled.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_LT(tolvane::test::meanDifference(scaled, reference), 3.0) << c.asked.width() << " x " << c.asked.height();
    }
    EXPECT_EQ(decodeJpegScaled(bytes, {400, 300}), decodeJpeg(bytes));   // full size: the same decode
    for (bool progressive : {false, true}) {   // other forms scale too
        const QImage grey = decodeJpegScaled(otherJpeg(src, !progressive, progressive), {100, 75});
        EXPECT_EQ(grey.size(), QSize(100, 75));
        EXPECT_EQ(grey.format(), QImage::Format_RGB888);
    }
}

TEST(JpegScaledDecode, RefusesWhatTheFullDecodeRefusesWithItsMessage)
{
    auto message = [](auto decode) -> std::string {
        try {
            decode();
        } catch (const CodecError& e) {
            return e.what();
        }
        return {};
    };
    const QSize small(10, 10);
    std::vector<QByteArray> bad = {QByteArray(), QByteArray("\xFF\xD8", 2), QByteArray(1000, 'x')};
    for (const QByteArray& full : {encodeJpeg(gradient(200, 150)), otherJpeg(gradient(200, 150), false, true)})
        for (qsizetype cut : {qsizetype(1), qsizetype(20), qsizetype(200), full.size() / 2, full.size() - 40})
            bad.push_back(full.left(cut));
    QByteArray huge = encodeJpeg(gradient(16, 16));
    const qsizetype sof = findMarker(huge, 0xC0);
    ASSERT_GE(sof, 0);
    huge[sof + 5] = huge[sof + 7] = char(0xFD);   // 65000 x 65000
    huge[sof + 6] = huge[sof + 8] = char(0xE8);
    bad.push_back(huge);
    for (const QByteArray& b : bad) {
        const std::string expected = message([&] { decodeJpeg(b); });
        ASSERT_NE(expected, "") << b.size();
        EXPECT_EQ(message([&] { decodeJpegScaled(b, small); }), expected) << b.size();
        EXPECT_THROW(Picture::fromJpeg(b).pixelsToShow(small), CodecError) << b.size();
    }

    // Random damage: the scaled decode fails exactly where the full one does.
    const QByteArray good = encodeJpeg(gradient(64, 64));
    QRandomGenerator rng(815);
    for (int round = 0; round < 300; ++round) {
        QByteArray damaged = good;
        for (int i = 0, flips = 1 + int(rng.bounded(8)); i < flips; ++i)
            damaged[qsizetype(rng.bounded(int(damaged.size())))] = char(rng.bounded(256));
        EXPECT_EQ(message([&] { decodeJpegScaled(damaged, small); }), message([&] { decodeJpeg(damaged); }))
            << round;
    }
}

TEST(Picture, ShownFromASmallerDecodeWhileItsPixelsStayFullSize)
{
    const QByteArray bytes = encodeJpeg(gradient(400, 300));
    const Picture p = Picture::fromJpeg(bytes);
    const QImage shown = p.pixelsToShow({100, 75});
    EXPECT_EQ(shown.size(), QSize(100, 75));
    EXPECT_FALSE(p.isDecoded());   // only the smaller decode
    const Picture copy = p;
    // Kept and shared: a smaller view of any copy draws from the same decode.
    EXPECT_EQ(copy.pixelsToShow({80, 40}).cacheKey(), shown.cacheKey());
    EXPECT_EQ(copy.pixelsToShow({150, 100}).size(), QSize(150, 113));   // a larger view: a new decode
    EXPECT_EQ(p.pixelsToShow({100, 75}).size(), QSize(150, 113));       // kept in place of the first
    // A decode larger than half the picture serves that draw only.
    EXPECT_EQ(p.pixelsToShow({300, 200}).size(), QSize(300, 225));
    EXPECT_EQ(p.pixelsToShow({10, 10}).size(), QSize(150, 113));
    EXPECT_FALSE(p.isDecoded());
    // The picture's pixels stay the full-size decode (what a re-encoding
    // write encodes), and once there they are what is shown.
    EXPECT_EQ(copy.pixels(), decodeJpeg(bytes));
    EXPECT_EQ(p.pixelsToShow({10, 10}).size(), QSize(400, 300));
    Picture released = p;
    released.releasePixels();
    EXPECT_FALSE(released.isDecoded());
    EXPECT_EQ(released.pixelsToShow({10, 10}).size(), QSize(150, 113));   // the smaller decode stays
    // A view as large as the picture gets the full decode, as its pixels.
    const Picture other = Picture::fromJpeg(bytes);
    EXPECT_EQ(other.pixelsToShow({400, 300}).size(), QSize(400, 300));
    EXPECT_TRUE(other.isDecoded());

    const Picture bitmap = Picture::fromBitmap(gradient(40, 30));
    EXPECT_EQ(bitmap.pixelsToShow({10, 10}), bitmap.pixels());
    EXPECT_TRUE(Picture().pixelsToShow({10, 10}).isNull());
    EXPECT_EQ(fitProportionally({400, 300}, {100, 100}), QSize(100, 75));
    EXPECT_EQ(fitProportionally({300, 400}, {100, 100}), QSize(75, 100));
}
