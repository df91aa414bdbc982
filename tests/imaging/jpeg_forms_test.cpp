// JPEG files as they come from cameras, phones, scanners and broken copies:
// damaged data, EXIF orientations, CMYK and YCCK colour.
#include "imaging/codec.h"
#include "imaging/exif.h"
#include "imaging/picture.h"

#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>
#include <functional>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>
#include "support/test_pictures.h"

using namespace tolvane::pictures;
using tolvane::test::cameraJpeg;
using tolvane::test::codedJpeg;
using tolvane::test::cutWithEndMarker;
using tolvane::test::JpegCoding;
using tolvane::test::scanEnds;
using tolvane::test::withExifOrientation;

namespace {

std::string messageOf(const std::function<void()>& decode)
{
    try {
        decode();
    } catch (const CodecError& e) {
        return e.what();
    }
    return {};
}

// Offset of the first header segment with marker 0xFF `code`, -1 when absent.
qsizetype segmentAt(const QByteArray& jpeg, uchar code)
{
    for (qsizetype i = 2; i + 3 < jpeg.size() && uchar(jpeg[i]) == 0xFF;
         i += 2 + ((uchar(jpeg[i + 2]) << 8) | uchar(jpeg[i + 3]))) {
        if (uchar(jpeg[i + 1]) == code)
            return i;
    }
    return -1;
}

// The upright picture of `stored` for an EXIF orientation, pixel by pixel.
QImage uprightByRule(const QImage& s, int o)
{
    const int W = s.width(), H = s.height();
    const bool swap = o >= 5;
    QImage out(swap ? H : W, swap ? W : H, s.format());
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const QPoint from[9] = {{}, {x, y}, {W - 1 - x, y}, {W - 1 - x, H - 1 - y}, {x, H - 1 - y},
                                    {y, x}, {y, H - 1 - x}, {W - 1 - y, H - 1 - x}, {W - 1 - y, x}};
            out.setPixel(x, y, s.pixel(from[o]));
        }
    return out;
}

double meanDifference(const QImage& a, const QImage& b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB888), y = b.convertToFormat(QImage::Format_RGB888);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int i = 0; i < x.width() * 3; ++i)
            sum += std::abs(int(x.constScanLine(row)[i]) - int(y.constScanLine(row)[i]));
    return sum / (double(x.width()) * x.height() * 3);
}

// Decodes `bytes` with only `headroom` bytes of address space left and ends
// the process: 0 when refused with `expected`, 3 when refused otherwise (the
// picture's memory was asked for), 2 when it decoded.
[[noreturn]] void decodeWithHeadroom(const QByteArray& bytes, rlim_t headroom, const std::string& expected)
{
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + headroom;
    setrlimit(RLIMIT_AS, &limit);
    try {
        decodeJpeg(bytes);
    } catch (const CodecError& e) {
        std::_Exit(e.what() == expected ? 0 : 3);
    }
    std::_Exit(2);
}

const char* const kCutShort = "Corrupt JPEG data: premature end of data segment";

// Refused as cut short by the full decode, the scaled one and a picture's.
void expectCutShort(const QByteArray& bytes, const std::string& what)
{
    EXPECT_EQ(messageOf([&] { decodeJpeg(bytes); }), kCutShort) << what;
    EXPECT_EQ(messageOf([&] { decodeJpegScaled(bytes, {20, 15}); }), kCutShort) << what;
    EXPECT_THROW(Picture::fromJpeg(bytes).pixels(), CodecError) << what;
}

// `src` with its rows from `from` on plain `colour`.
QImage plainFrom(QImage src, int from, QRgb colour)
{
    for (int y = from; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            src.setPixel(x, y, colour);
    return src;
}

QImage whiteFrom(const QImage& src, int from) { return plainFrom(src, from, qRgb(255, 255, 255)); }
QImage blackFrom(const QImage& src, int from) { return plainFrom(src, from, qRgb(0, 0, 0)); }

}  // namespace

TEST(JpegDamage, FilledInPixelsFailEveryDecodeWithTheFilesMessage)
{
    const QImage src = tolvane::test::gradient(200, 150);
    const QSize small(50, 40);
    struct Case { QByteArray bytes; std::string message; };
    std::vector<Case> cases;
    // Data cut short in its last scan, the end marker after it (an
    // interrupted copy).
    for (const QByteArray& whole : {encodeJpeg(src), cameraJpeg(src, false, true), cameraJpeg(src, true)}) {
        const qsizetype lastScan = whole.lastIndexOf(QByteArray("\xFF\xDA", 2));
        cases.push_back({whole.left((lastScan + whole.size()) / 2) + QByteArray("\xFF\xD9", 2), kCutShort});
    }
    // A restart marker lost, and one out of turn.
    const QByteArray restarts = cameraJpeg(src, false, false, 1);
    const qsizetype rst = restarts.indexOf(QByteArray("\xFF\xD0", 2), segmentAt(restarts, 0xDA));
    ASSERT_GT(rst, 0);
    cases.push_back({restarts.left(rst) + restarts.mid(rst + 2),
                     "Corrupt JPEG data: found marker 0xd1 instead of RST0"});
    QByteArray outOfTurn = restarts;
    outOfTurn[rst + 1] = char(0xD3);
    cases.push_back({outOfTurn, "Corrupt JPEG data: found marker 0xd3 instead of RST0"});

    for (const Case& c : cases) {
        EXPECT_EQ(messageOf([&] { decodeJpeg(c.bytes); }), c.message) << c.bytes.size();
        EXPECT_EQ(messageOf([&] { decodeJpegScaled(c.bytes, small); }), c.message) << c.bytes.size();
        EXPECT_THROW(Picture::fromJpeg(c.bytes).pixelsToShow(small), CodecError);
        EXPECT_THROW(Picture::fromJpeg(c.bytes).pixels(), CodecError);
    }
}

TEST(JpegDamage, WarningsOfWholeFilesStayWarnings)
{
    const QByteArray good = cameraJpeg(tolvane::test::gradient(64, 48));
    const QImage pixels = decodeJpeg(good);
    // Stray bytes before a marker, and data after the end marker.
    const qsizetype dqt = segmentAt(good, 0xDB);
    ASSERT_GT(dqt, 0);
    EXPECT_EQ(decodeJpeg(good.left(dqt) + "stray" + good.mid(dqt)), pixels);
    EXPECT_EQ(decodeJpeg(good + QByteArray(300, '\0') + "trailer"), pixels);
    EXPECT_EQ(decodeJpegScaled(good + "trailer", {16, 12}).size(), QSize(16, 12));
}

TEST(JpegDamageDeathTest, TinyFileClaimingAHugePictureIsRefusedBeforeAllocating)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QByteArray bytes = encodeJpeg(tolvane::test::gradient(16, 16));
    ASSERT_LT(bytes.size(), 1000);
    const qsizetype sof = segmentAt(bytes, 0xC0);
    ASSERT_GT(sof, 0);
    bytes[sof + 5] = bytes[sof + 7] = char(0x27);   // 10000 x 10000, at the limit
    bytes[sof + 6] = bytes[sof + 8] = char(0x10);
    EXPECT_EQ(messageOf([&] { decodeJpeg(bytes); }), kCutShort);
    EXPECT_EQ(messageOf([&] { jpegSize(bytes); }), kCutShort);
    EXPECT_EQ(messageOf([&] { decodeJpegScaled(bytes, {100, 100}); }), kCutShort);
    EXPECT_EQ(messageOf([&] { jpegSize(bytes.left(bytes.size() - 2)); }), "Premature end of JPEG file");
    // 300 MB of pixels are never asked for: 64 MB of room is plenty.
    EXPECT_EXIT(decodeWithHeadroom(bytes, rlim_t(64) << 20, kCutShort), ::testing::ExitedWithCode(0), "");
}

TEST(JpegDamage, FilesCutAtAScanBoundaryAreRefusedAndWholeOnesDecode)
{
    const QImage src = tolvane::test::gradient(160, 120);
    // Sequential, one scan for each component: cut after the first, and
    // after the second.
    const QByteArray perComponent = codedJpeg(src, JpegCoding::ScanPerComponent);
    const std::vector<qsizetype> ends = scanEnds(perComponent);
    ASSERT_EQ(ends.size(), 3u);
    EXPECT_LT(meanDifference(decodeJpeg(perComponent), src), 8);
    expectCutShort(cutWithEndMarker(perComponent, ends[0]), "luminance scan only");
    expectCutShort(cutWithEndMarker(perComponent, ends[1]), "two scans of three");
    // A component sent again in a fourth scan: no sequential file does that.
    const qsizetype lastSos = perComponent.lastIndexOf(QByteArray("\xFF\xDA", 2));
    const QByteArray twice = perComponent.left(ends[2]) + perComponent.mid(lastSos, ends[2] - lastSos) +
                             perComponent.mid(ends[2]);
    EXPECT_EQ(messageOf([&] { decodeJpeg(twice); }), "Invalid JPEG file: a component in two scans");

    // Progressive in libjpeg's default script, as its encoder and its
    // transcoder write it, colour and grey: cut after every scan but the last.
    const std::vector<QByteArray> progressive = {
        cameraJpeg(src, false, true), cameraJpeg(src, true, true),
        tolvane::test::progressiveCopy(cameraJpeg(src)), tolvane::test::progressiveCopy(encodeJpeg(src))};
    for (const QByteArray& whole : progressive) {
        const std::vector<qsizetype> scans = scanEnds(whole);
        ASSERT_GE(scans.size(), 6u);
        EXPECT_LT(meanDifference(decodeJpeg(whole), whole == progressive[1] ? decodeJpeg(cameraJpeg(src, true)) : src), 8);
        for (std::size_t k = 0; k + 1 < scans.size(); ++k)
            expectCutShort(cutWithEndMarker(whole, scans[k]),
                           std::to_string(k + 1) + " scans of " + std::to_string(scans.size()));
    }
}

TEST(JpegDamage, ArithmeticCodedFilesCutShortAreRefusedAndWholeOnesDecode)
{
    const QImage src = tolvane::test::gradient(320, 240);
    const QImage flatBelow = whiteFrom(tolvane::test::gradient(64, 64), 24);   // rows of 3 blocks of 8, then white
    const QImage flatLarge = whiteFrom(tolvane::test::gradient(2000, 1500), 16);
    // Whole files, with and without restart markers, flat or not.
    for (const auto& [img, coding, restart] :
         std::vector<std::tuple<QImage, JpegCoding, int>>{{src, JpegCoding::Arithmetic, 0},
                                                          {src, JpegCoding::Arithmetic, 1},
                                                          {src, JpegCoding::Arithmetic, 7},
                                                          {flatBelow, JpegCoding::Arithmetic, 0},
                                                          {flatBelow, JpegCoding::Arithmetic, 2},
                                                          {flatLarge, JpegCoding::Arithmetic, 0},
                                                          {whiteFrom(src, 0), JpegCoding::Arithmetic, 0},
                                                          {src, JpegCoding::ArithmeticProgressive, 0},
                                                          {flatBelow, JpegCoding::ArithmeticProgressive, 0},
                                                          {flatLarge, JpegCoding::ArithmeticProgressive, 3}}) {
        const QByteArray whole = codedJpeg(img, coding, restart);
        const std::string what = std::to_string(img.width()) + " x " + std::to_string(img.height()) +
                                 " restart " + std::to_string(restart);
        EXPECT_LT(meanDifference(decodeJpeg(whole), img), 8) << what;
        EXPECT_EQ(decodeJpegScaled(whole, img.size() / 8).width(), (img.width() + 7) / 8) << what;
    }

    // Cut in half with an end marker after it, and inside the last scan.
    const QByteArray sequential = codedJpeg(src, JpegCoding::Arithmetic);
    expectCutShort(cutWithEndMarker(sequential, sequential.size() / 2), "sequential");
    const QByteArray progressive = codedJpeg(src, JpegCoding::ArithmeticProgressive);
    const qsizetype lastScan = scanEnds(progressive).end()[-2];
    expectCutShort(cutWithEndMarker(progressive, progressive.size() / 2), "progressive");
    expectCutShort(cutWithEndMarker(progressive, (lastScan + progressive.size()) / 2), "progressive, last scan");
}

TEST(JpegDamage, WholeArithmeticCodedFilesEndingInAFlatAreaDecodeWhateverTheirScanScript)
{
    // A DC refinement scan codes a bit a block at a fixed even chance: over
    // the black half its zero bits are zero bytes its encoder leaves out, a
    // byte for every 8 blocks, whether later scans refine it further
    // (libjpeg's script) or it ends the file.
    const QImage src = blackFrom(tolvane::test::gradient(320, 240), 120);
    for (const JpegCoding coding : {JpegCoding::ArithmeticProgressive, JpegCoding::ArithmeticDcRefinementLast,
                                    JpegCoding::ArithmeticGreyProgressive}) {
        const QByteArray whole = codedJpeg(src, coding);
        const std::vector<qsizetype> scans = scanEnds(whole);
        const bool grey = coding == JpegCoding::ArithmeticGreyProgressive;
        const QImage sequential = decodeJpeg(codedJpeg(src, grey ? JpegCoding::ArithmeticGrey : JpegCoding::Arithmetic));
        EXPECT_LT(meanDifference(decodeJpeg(whole), sequential), 3) << scans.size() << " scans";
        // Its twin without the last scan, and, where the last scan adapts,
        // with that scan cut in half.
        expectCutShort(cutWithEndMarker(whole, scans.end()[-2]), std::to_string(scans.size()) + " scans");
        if (coding != JpegCoding::ArithmeticDcRefinementLast)
            expectCutShort(cutWithEndMarker(whole, (scans.end()[-2] + whole.size()) / 2), "in the last scan");
    }
}

TEST(JpegDamage, AnArithmeticCodedScanWithoutItsDataIsRefusedUnlessItCodesNothing)
{
    // Cut right after the header of its only scan, or of its last one: the
    // zeros read in place of the data would show made-up stripes.
    for (const JpegCoding coding : {JpegCoding::Arithmetic, JpegCoding::ArithmeticGrey,
                                    JpegCoding::ArithmeticProgressive, JpegCoding::ScanPerComponent}) {
        const QByteArray whole = codedJpeg(tolvane::test::gradient(160, 120), coding);
        const qsizetype lastScan = whole.lastIndexOf(QByteArray("\xFF\xDA", 2));
        expectCutShort(cutWithEndMarker(whole, lastScan + 2 + ((uchar(whole[lastScan + 2]) << 8) | uchar(whole[lastScan + 3]))),
                       "scan " + std::to_string(scanEnds(whole).size()) + " without data");
    }
    // A flat mid-grey block: its encoder writes no data for the scans that
    // code nothing, and the file is whole.
    QImage grey(8, 8, QImage::Format_RGB32);
    grey.fill(qRgb(128, 128, 128));
    for (const JpegCoding coding : {JpegCoding::ArithmeticGrey, JpegCoding::ArithmeticGreyProgressive}) {
        const QByteArray whole = codedJpeg(grey, coding);
        const qsizetype firstScan = whole.indexOf(QByteArray("\xFF\xDA", 2));
        ASSERT_EQ(scanEnds(whole).front(), firstScan + 2 + ((uchar(whole[firstScan + 2]) << 8) | uchar(whole[firstScan + 3])))
            << "the first scan carries no data";
        EXPECT_EQ(decodeJpeg(whole), grey.convertToFormat(QImage::Format_RGB888));
    }
}

TEST(JpegDamageDeathTest, TinyArithmeticCodedFileClaimingAHugePictureIsRefusedBeforeAllocating)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QByteArray bytes = codedJpeg(tolvane::test::gradient(16, 16), JpegCoding::Arithmetic);
    ASSERT_LT(bytes.size(), 300);
    const qsizetype sof = segmentAt(bytes, 0xC9);
    ASSERT_GT(sof, 0);
    bytes[sof + 5] = bytes[sof + 7] = char(8000 >> 8);   // 8000 x 8000
    bytes[sof + 6] = bytes[sof + 8] = char(8000 & 0xFF);
    EXPECT_EQ(jpegSize(bytes), QSize(8000, 8000));
    expectCutShort(bytes, "8000 x 8000");
    // 192 MB of pixels are never asked for: 64 MB of room is plenty.
    EXPECT_EXIT(decodeWithHeadroom(bytes, rlim_t(64) << 20, kCutShort), ::testing::ExitedWithCode(0), "");
}

TEST(JpegOrientation, EveryDecodeTurnsThePictureUpright)
{
    // Asymmetric in both directions, and small, so all eight are cheap.
    const QByteArray plain = encodeJpeg(tolvane::test::gradient(32, 16));
    const QImage stored = decodeJpeg(plain);
    const QImage storedHalf = decodeJpegScaled(plain, {16, 8});
    ASSERT_EQ(storedHalf.size(), QSize(16, 8));
    for (bool bigEndian : {false, true})
        for (int o = 1; o <= 8; ++o) {
            const QByteArray turned = withExifOrientation(plain, o, bigEndian);
            const QImage upright = uprightByRule(stored, o);
            EXPECT_EQ(decodeJpeg(turned), upright) << o;
            EXPECT_EQ(jpegSize(turned), upright.size()) << o;
            QSize full;
            const QImage half = decodeJpegScaled(turned, upright.size() / 2, &full);
            EXPECT_EQ(full, upright.size()) << o;
            EXPECT_EQ(half, uprightByRule(storedHalf, o)) << o;
            const Picture p = Picture::fromJpeg(turned);
            EXPECT_EQ(QSize(p.width(), p.height()), upright.size()) << o;
            EXPECT_EQ(p.pixelsToShow(upright.size() / 2).size(), upright.size() / 2) << o;
            EXPECT_EQ(p.pixels(), upright) << o;
            EXPECT_EQ(p.jpegBytes(), turned) << o;   // the file is kept as it was
        }
}

TEST(JpegOrientation, TheFirstExifBlockDecides)
{
    const QByteArray stored = cameraJpeg(tolvane::test::gradient(40, 30));
    // Blocks are put right after the start marker: the last one put is first.
    EXPECT_EQ(decodeJpeg(withExifOrientation(withExifOrientation(stored, 6), 1)).size(), QSize(40, 30));
    EXPECT_EQ(decodeJpeg(withExifOrientation(withExifOrientation(stored, 1), 6)).size(), QSize(30, 40));
    // An APP1 segment that is no EXIF block (XMP) does not count.
    const QByteArray xmpId("http://ns.adobe.com/xap/1.0/", 29);
    const QByteArray xmp = QByteArray("\xFF\xE1\x00", 3) + char(2 + xmpId.size()) + xmpId;
    const QByteArray turned = withExifOrientation(stored, 6);
    EXPECT_EQ(decodeJpeg(turned.left(2) + xmp + turned.mid(2)).size(), QSize(30, 40));
}

TEST(JpegOrientation, MalformedExifBlocksReadAsAsStored)
{
    const QByteArray six = withExifOrientation(QByteArray("\xFF\xD8", 2), 6, true).mid(6);   // the APP1 contents
    auto read = [](const QByteArray& b) {
        return exifOrientation(reinterpret_cast<const unsigned char*>(b.constData()), std::size_t(b.size()));
    };
    ASSERT_EQ(read(six), 6);
    EXPECT_EQ(read(withExifOrientation(QByteArray("\xFF\xD8", 2), 8, false).mid(6)), 8);
    for (qsizetype cut = 0; cut < six.size() - 6; ++cut)   // the value ends 6 bytes from the end
        EXPECT_EQ(read(six.left(cut)), 1) << cut;
    EXPECT_EQ(exifOrientation(nullptr, 40), 1);
    auto patched = [&](int at, QByteArray with) { return QByteArray(six).replace(at, with.size(), with); };
    EXPECT_EQ(read(patched(0, "Exig")), 1);                                 // not EXIF
    EXPECT_EQ(read(patched(6, "XX")), 1);                                   // no byte order
    EXPECT_EQ(read(patched(10, QByteArray("\xFF\xFF\xFF\xF0", 4))), 1);     // directory far outside
    EXPECT_EQ(read(patched(10, QByteArray("\0\0\0\x12", 4))), 1);           // entries past the end
    EXPECT_EQ(read(patched(24, QByteArray("\x00\x09", 2))), 1);             // no such orientation
    EXPECT_EQ(read(patched(16, QByteArray("\x01\x13", 2))), 1);             // another tag
}

TEST(JpegCmyk, CmykAndYcckDecodeToRgbAsImageMagickConvertsThem)
{
    const QImage src = tolvane::test::gradient(64, 48);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString srcPpm = dir.filePath("src.ppm");
    ASSERT_TRUE(src.save(srcPpm));
    auto magick = [&](const QStringList& args) {
        QProcess p;
        p.start("convert", args);
        return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    };
    if (!magick({"-version"}))
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    ASSERT_TRUE(magick({srcPpm, "-colorspace", "CMYK", dir.filePath("magick.jpg")}));
    QFile madeByMagick(dir.filePath("magick.jpg"));
    ASSERT_TRUE(madeByMagick.open(QIODevice::ReadOnly));
    const std::vector<std::pair<const char*, QByteArray>> files = {
        {"cmyk", tolvane::test::cmykJpeg(src)},
        {"ycck", tolvane::test::cmykJpeg(src, true)},
        {"magick", madeByMagick.readAll()}};
    for (const auto& [name, bytes] : files) {
        const QString path = dir.filePath(QString(name) + ".jpg");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        ASSERT_TRUE(magick({path, "-colorspace", "sRGB", "-depth", "8", path + ".ppm"}));
        const QImage theirs(path + ".ppm");
        const QImage ours = decodeJpeg(bytes);
        EXPECT_EQ(ours.format(), QImage::Format_RGB888) << name;
        ASSERT_EQ(ours.size(), src.size()) << name;
        EXPECT_LT(meanDifference(ours, theirs), 1.5) << name;
        EXPECT_LT(meanDifference(ours, src), 4.0) << name;   // the colours, not their inverse
        EXPECT_EQ(decodeJpegScaled(bytes, {16, 12}).size(), QSize(16, 12)) << name;
        EXPECT_EQ(decodeJpeg(withExifOrientation(bytes, 8)), uprightByRule(ours, 8)) << name;
    }
}
