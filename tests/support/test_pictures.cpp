#include "support/test_pictures.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include <jpeglib.h>

namespace tolvane::test {

namespace {

// Plain libjpeg writing to memory: the rows of `samples` (`components` bytes
// a pixel in colour space `space`), `setUp` called after the defaults.
QByteArray compress(const QImage& samples, int components, J_COLOR_SPACE space,
                    const std::function<void(jpeg_compress_struct&)>& setUp) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buf = nullptr;
    unsigned long len = 0;
    jpeg_mem_dest(&c, &buf, &len);
    c.image_width = JDIMENSION(samples.width());
    c.image_height = JDIMENSION(samples.height());
    c.input_components = components;
    c.in_color_space = space;
    jpeg_set_defaults(&c);
    setUp(c);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<uchar*>(samples.constScanLine(int(c.next_scanline)));
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    QByteArray out(reinterpret_cast<const char*>(buf), qsizetype(len));
    free(buf);
    return out;
}

}  // namespace

QByteArray cameraJpeg(const QImage& src, bool grey, bool progressive, int restartInterval) {
    const QImage img = src.convertToFormat(grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    return compress(img, grey ? 1 : 3, grey ? JCS_GRAYSCALE : JCS_RGB, [&](jpeg_compress_struct& c) {
        jpeg_set_quality(&c, 75, TRUE);
        if (progressive) jpeg_simple_progression(&c);
        c.restart_interval = static_cast<unsigned>(restartInterval);
    });
}

QByteArray codedJpeg(const QImage& src, JpegCoding coding, int restartInterval) {
    static const jpeg_scan_info kScanPerComponent[3] = {
        {1, {0}, 0, 63, 0, 0}, {1, {1}, 0, 63, 0, 0}, {1, {2}, 0, 63, 0, 0}};
    static const jpeg_scan_info kDcRefinementLast[5] = {{3, {0, 1, 2}, 0, 0, 0, 1},
                                                        {1, {0}, 1, 63, 0, 0},
                                                        {1, {1}, 1, 63, 0, 0},
                                                        {1, {2}, 1, 63, 0, 0},
                                                        {3, {0, 1, 2}, 0, 0, 1, 0}};
    const bool grey = coding == JpegCoding::ArithmeticGrey || coding == JpegCoding::ArithmeticGreyProgressive;
    const QImage img = src.convertToFormat(grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    return compress(img, grey ? 1 : 3, grey ? JCS_GRAYSCALE : JCS_RGB, [&](jpeg_compress_struct& c) {
        jpeg_set_quality(&c, 75, TRUE);
        c.restart_interval = static_cast<unsigned>(restartInterval);
        if (coding == JpegCoding::ScanPerComponent) {
            c.scan_info = kScanPerComponent;
            c.num_scans = 3;
            return;
        }
        c.arith_code = TRUE;
        if (coding == JpegCoding::ArithmeticProgressive || coding == JpegCoding::ArithmeticGreyProgressive)
            jpeg_simple_progression(&c);
        if (coding == JpegCoding::ArithmeticDcRefinementLast) {
            c.scan_info = kDcRefinementLast;
            c.num_scans = 5;
        }
    });
}

QByteArray progressiveCopy(const QByteArray& jpeg) {
    jpeg_decompress_struct in{};
    jpeg_compress_struct out{};
    jpeg_error_mgr inErr{}, outErr{};
    in.err = jpeg_std_error(&inErr);
    out.err = jpeg_std_error(&outErr);
    jpeg_create_decompress(&in);
    jpeg_create_compress(&out);
    jpeg_mem_src(&in, reinterpret_cast<const unsigned char*>(jpeg.constData()), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&in, TRUE);
    jvirt_barray_ptr* coefficients = jpeg_read_coefficients(&in);
    unsigned char* buf = nullptr;
    unsigned long len = 0;
    jpeg_mem_dest(&out, &buf, &len);
    jpeg_copy_critical_parameters(&in, &out);
    jpeg_simple_progression(&out);
    jpeg_write_coefficients(&out, coefficients);
    jpeg_finish_compress(&out);
    jpeg_destroy_compress(&out);
    jpeg_finish_decompress(&in);
    jpeg_destroy_decompress(&in);
    QByteArray bytes(reinterpret_cast<const char*>(buf), qsizetype(len));
    free(buf);
    return bytes;
}

std::vector<qsizetype> scanEnds(const QByteArray& jpeg) {
    const auto at = [&](qsizetype i) { return uchar(jpeg[i]); };
    std::vector<qsizetype> ends;
    for (qsizetype i = jpeg.indexOf(QByteArray("\xFF\xDA", 2)); i >= 0;
         i = jpeg.indexOf(QByteArray("\xFF\xDA", 2), i)) {
        i += 2 + (at(i + 2) << 8 | at(i + 3));
        while (i + 1 < jpeg.size() &&
               !(at(i) == 0xFF && at(i + 1) != 0 && at(i + 1) != 0xFF && (at(i + 1) & 0xF8) != 0xD0))
            ++i;
        ends.push_back(i);
    }
    return ends;
}

std::vector<CutJpeg> jpegsCutShort() {
    const QImage src = gradient(160, 120);
    const QByteArray perComponent = codedJpeg(src, JpegCoding::ScanPerComponent);
    const QByteArray progressive = cameraJpeg(src, false, true);
    const std::vector<qsizetype> scans = scanEnds(progressive);
    const QByteArray arithmetic = codedJpeg(src, JpegCoding::Arithmetic);
    const QByteArray small = codedJpeg(gradient(16, 16), JpegCoding::Arithmetic);
    QByteArray huge = small;
    const qsizetype sof = huge.indexOf(QByteArray("\xFF\xC9", 2));
    huge[sof + 5] = huge[sof + 7] = char(8000 >> 8);
    huge[sof + 6] = huge[sof + 8] = char(8000 & 0xFF);
    return {
        {"one scan of three", perComponent, cutWithEndMarker(perComponent, scanEnds(perComponent)[0])},
        {"first progressive scan", progressive, cutWithEndMarker(progressive, scans.front())},
        {"all progressive scans but the last", progressive, cutWithEndMarker(progressive, scans.end()[-2])},
        {"arithmetic-coded, cut in half", arithmetic, cutWithEndMarker(arithmetic, arithmetic.size() / 2)},
        {"arithmetic-coded, 8000 x 8000 claimed", small, huge},
    };
}

QByteArray withExifOrientation(const QByteArray& jpeg, int orientation, bool bigEndian) {
    auto u16 = [&](QByteArray& b, unsigned v) {
        const char hi = char(v >> 8), lo = char(v & 0xFF);
        b.append(bigEndian ? hi : lo).append(bigEndian ? lo : hi);
    };
    auto u32 = [&](QByteArray& b, unsigned v) {
        u16(b, bigEndian ? v >> 16 : v & 0xFFFF);
        u16(b, bigEndian ? v & 0xFFFF : v >> 16);
    };
    QByteArray tiff(bigEndian ? "MM" : "II");
    u16(tiff, 42);
    u32(tiff, 8);                       // the first directory follows
    u16(tiff, 1);                       // one entry:
    u16(tiff, 0x0112);                  //   orientation
    u16(tiff, 3);                       //   SHORT
    u32(tiff, 1);                       //   one value
    u16(tiff, unsigned(orientation));   //   left-justified in the value field
    u16(tiff, 0);
    u32(tiff, 0);                       // no further directory
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(payload.size()) + 2;
    QByteArray segment("\xFF\xE1", 2);
    segment.append(char(length >> 8)).append(char(length & 0xFF)).append(payload);
    return jpeg.left(2) + segment + jpeg.mid(2);
}

QByteArray cmykJpeg(const QImage& src, bool ycck) {
    const QImage rgb = src.convertToFormat(QImage::Format_RGB888);
    QImage cmyk(rgb.size(), QImage::Format_RGBA8888);   // 4 bytes a pixel: C, M, Y, K
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* in = rgb.constScanLine(y);
        uchar* out = cmyk.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x, in += 3, out += 4) {
            const int light = std::max({in[0], in[1], in[2]});   // what the black ink lets through
            for (int i = 0; i < 3; ++i)   // stored inverted: the light each ink lets through
                out[i] = uchar(light == 0 ? 255 : in[i] * 255 / light);
            out[3] = uchar(light);
        }
    }
    return compress(cmyk, 4, JCS_CMYK, [&](jpeg_compress_struct& c) {
        jpeg_set_colorspace(&c, ycck ? JCS_YCCK : JCS_CMYK);   // writes the Adobe marker
        jpeg_set_quality(&c, 90, TRUE);
    });
}

namespace {

void putLe(QByteArray& b, quint32 v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

}  // namespace

QByteArray bmpFile(int width, int height, int bits, int compression, const QByteArray& table,
                   const QByteArray& pixels)
{
    const int colours = compression == 3 ? 0 : int(table.size() / 4);
    QByteArray b("BM");
    putLe(b, quint32(54 + table.size() + pixels.size()), 4);
    putLe(b, 0, 4);
    putLe(b, quint32(54 + table.size()), 4);
    putLe(b, 40, 4);
    putLe(b, quint32(width), 4);
    putLe(b, quint32(height), 4);
    putLe(b, 1, 2);
    putLe(b, quint32(bits), 2);
    putLe(b, quint32(compression), 4);
    putLe(b, quint32(pixels.size()), 4);
    putLe(b, 2835, 4);
    putLe(b, 2835, 4);
    putLe(b, quint32(colours), 4);
    putLe(b, 0, 4);
    return b + table + pixels;
}

QByteArray bmpColourTable(const QImage& indexed)
{
    QByteArray t;
    for (const QRgb c : indexed.colorTable())
        t.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append('\0');
    return t;
}

QByteArray runLengthCodes(const QImage& indexed, bool four)
{
    QByteArray out;
    const int w = indexed.width();
    for (int y = indexed.height() - 1; y >= 0; --y) {
        const uchar* row = indexed.constScanLine(y);
        const auto runAt = [&](int x) {
            int n = 1;
            while (x + n < w && n < 255 && row[x + n] == row[x])
                ++n;
            return n;
        };
        for (int x = 0; x < w;) {
            if (const int n = runAt(x); n >= 2) {
                out.append(char(n)).append(char(four ? row[x] << 4 | row[x] : row[x]));
                x += n;
                continue;
            }
            int n = 1;   // up to the next repeat
            while (x + n < w && n < 255 && runAt(x + n) < 2)
                ++n;
            if (n < 3) {
                for (int i = 0; i < n; ++i)
                    out.append(char(1)).append(char(four ? row[x + i] << 4 : row[x + i]));
            } else {
                QByteArray given;
                for (int i = 0; i < n; ++i) {
                    if (!four)
                        given.append(char(row[x + i]));
                    else if (i % 2 == 0)
                        given.append(char(row[x + i] << 4));
                    else
                        given.back() = char(given.back() | row[x + i]);
                }
                if (given.size() % 2)
                    given.append('\0');
                out.append('\0').append(char(n)).append(given);
            }
            x += n;
        }
        out.append('\0').append('\0');
    }
    out.append('\0').append(char(1));
    return out;
}

void poisonFreedMemory(std::size_t size, unsigned char byte)
{
    std::vector<void*> blocks;
    for (int i = 0; i < 16; ++i) {
        void* p = std::malloc(size);
        std::memset(p, byte, size);
        blocks.push_back(p);
    }
    for (void* p : blocks)
        std::free(p);
}

}  // namespace tolvane::test
