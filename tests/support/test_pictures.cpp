#include "support/test_pictures.h"

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace tolvane::test {

QByteArray cameraJpeg(const QImage& src, bool grey, bool progressive, int restartInterval) {
    const QImage img = src.convertToFormat(grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buf = nullptr;
    unsigned long len = 0;
    jpeg_mem_dest(&c, &buf, &len);
    c.image_width = JDIMENSION(img.width());
    c.image_height = JDIMENSION(img.height());
    c.input_components = grey ? 1 : 3;
    c.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 75, TRUE);
    if (progressive) jpeg_simple_progression(&c);
    c.restart_interval = static_cast<unsigned>(restartInterval);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<uchar*>(img.constScanLine(int(c.next_scanline)));
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    QByteArray out(reinterpret_cast<const char*>(buf), qsizetype(len));
    free(buf);
    return out;
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
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buf = nullptr;
    unsigned long len = 0;
    jpeg_mem_dest(&c, &buf, &len);
    c.image_width = JDIMENSION(rgb.width());
    c.image_height = JDIMENSION(rgb.height());
    c.input_components = 4;
    c.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&c);
    jpeg_set_colorspace(&c, ycck ? JCS_YCCK : JCS_CMYK);   // writes the Adobe marker
    jpeg_set_quality(&c, 90, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(std::size_t(rgb.width()) * 4);
    while (c.next_scanline < c.image_height) {
        const uchar* in = rgb.constScanLine(int(c.next_scanline));
        for (int x = 0; x < rgb.width(); ++x) {
            const int r = in[3 * x], g = in[3 * x + 1], b = in[3 * x + 2];
            const int k = 255 - std::max({r, g, b});
            const int light = 255 - k;
            auto ink = [&](int v) { return light == 0 ? 0 : (light - v) * 255 / light; };
            // inverted: 255 = no ink
            row[4 * std::size_t(x)] = uchar(255 - ink(r));
            row[4 * std::size_t(x) + 1] = uchar(255 - ink(g));
            row[4 * std::size_t(x) + 2] = uchar(255 - ink(b));
            row[4 * std::size_t(x) + 3] = uchar(255 - k);
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&c, &p, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    QByteArray out(reinterpret_cast<const char*>(buf), qsizetype(len));
    free(buf);
    return out;
}

}  // namespace tolvane::test
