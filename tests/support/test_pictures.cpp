#include "support/test_pictures.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

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

}  // namespace tolvane::test
