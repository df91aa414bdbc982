// Pictures as other programs write them, for the picture tests.
#pragma once

#include <QByteArray>
#include <QImage>
#include <cstddef>
#include <cstdlib>
#include <vector>

namespace tolvane::test {

// A JPEG file as a camera or another program writes it with plain libjpeg:
// quality 75 (not our encoder's 90), colour or greyscale, baseline or
// progressive.
QByteArray cameraJpeg(const QImage& src, bool grey = false, bool progressive = false,
                      int restartInterval = 0);

// How a colour JPEG file of other programs is coded, beyond cameraJpeg's
// settings.
enum class JpegCoding {
    ScanPerComponent,            // sequential, one scan for each of Y, Cb and Cr
    Arithmetic,                  // sequential, arithmetic-coded
    ArithmeticProgressive,       // libjpeg's progression, arithmetic-coded
    ArithmeticDcRefinementLast,  // DC successive approximation alone, its refinement the
                                 // last scan; arithmetic-coded
    ArithmeticGrey,              // as Arithmetic and ArithmeticProgressive, greyscale
    ArithmeticGreyProgressive,
};
QByteArray codedJpeg(const QImage& src, JpegCoding coding, int restartInterval = 0);

// A progressive copy of `jpeg` as the transcoder of libjpeg writes it when
// asked for a progressive file: the same coefficients in libjpeg's default
// progression script.
QByteArray progressiveCopy(const QByteArray& jpeg);

// Where the coded data of each scan of `jpeg` ends: the offsets of the
// markers after them, in file order.
std::vector<qsizetype> scanEnds(const QByteArray& jpeg);

// `jpeg` cut at `at` with an end marker put after it, as an interrupted copy
// leaves a file.
inline QByteArray cutWithEndMarker(const QByteArray& jpeg, qsizetype at) {
    return jpeg.left(at) + QByteArray("\xFF\xD9", 2);
}

// A damaged JPEG file that still ends in an end marker, beside the whole
// file it was cut from.
struct CutJpeg {
    const char* what;
    QByteArray whole;
    QByteArray cut;
};
// One of each form the decoder must refuse: a sequential file of one scan
// per component cut after its first scan; a progressive one cut after its
// first scan and before its last; an arithmetic-coded one cut in half; and
// a small arithmetic-coded one whose header claims 8000 x 8000 pixels (its
// twin the file with its own size).
std::vector<CutJpeg> jpegsCutShort();

// `jpeg` with an EXIF block (APP1, in either byte order) right after its
// start marker, holding only the orientation tag with `orientation`, as a
// phone writes a photo it took turned.
QByteArray withExifOrientation(const QByteArray& jpeg, int orientation, bool bigEndian = false);

// A CMYK JPEG file as print and scanning programs write it: the ink of
// `src` (naive RGB to CMYK, black as the common part), samples stored
// inverted with an Adobe marker saying so; YCCK-coded when `ycck`.
QByteArray cmykJpeg(const QImage& src, bool ycck = false);

// A BMP file put together byte by byte, as other programs write one: a
// 40-byte info header for `bits` per pixel and `compression` (0 plain rows,
// 1 RLE8, 2 RLE4, 3 bit fields), then `table` (the colour table, or the bit
// masks), then `pixels` as given. The header's image size is pixels' size.
QByteArray bmpFile(int width, int height, int bits, int compression, const QByteArray& table,
                   const QByteArray& pixels);

// The colour table of an indexed picture as a BMP file holds it.
QByteArray bmpColourTable(const QImage& indexed);

// An indexed picture's pixels as RLE8 codes, or RLE4 codes (indices below
// 16): runs where pixels repeat, absolute stretches elsewhere, an end-of-row
// code after each row, bottom row first, and the end-of-picture code.
QByteArray runLengthCodes(const QImage& indexed, bool four);

// Fills freed heap blocks of `size` bytes with `byte`, where the next
// allocation of that size is likely to land: pixels a reader leaves unset
// then show it.
void poisonFreedMemory(std::size_t size, unsigned char byte);

// A picture whose every pixel differs from its neighbours.
inline QImage gradient(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, (x ^ y) & 0xFF));
    return img;
}

// Mean difference per channel of two pictures of one size.
inline double meanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB888);
    const QImage y = b.convertToFormat(QImage::Format_RGB888);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int i = 0; i < x.width() * 3; ++i)
            sum += std::abs(int(x.constScanLine(row)[i]) - int(y.constScanLine(row)[i]));
    return sum / (double(x.width()) * x.height() * 3);
}

}  // namespace tolvane::test
