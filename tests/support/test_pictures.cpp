#include "support/test_pictures.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>

namespace tolvane::test {

QByteArray cameraJpeg(const QImage& src, bool grey, bool progressive) {
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
