// Pictures as other programs write them, for the picture tests.
#pragma once

#include <QByteArray>
#include <QImage>

namespace tolvane::test {

// A JPEG file as a camera or another program writes it with plain libjpeg:
// quality 75 (not our encoder's 90), colour or greyscale, baseline or
// progressive.
QByteArray cameraJpeg(const QImage& src, bool grey = false, bool progressive = false,
                      int restartInterval = 0);

// `jpeg` with an EXIF block (APP1, in either byte order) right after its
// start marker, holding only the orientation tag with `orientation`, as a
// phone writes a photo it took turned.
QByteArray withExifOrientation(const QByteArray& jpeg, int orientation, bool bigEndian = false);

// A CMYK JPEG file as print and scanning programs write it: the ink of
// `src` (naive RGB to CMYK, black as the common part), samples stored
// inverted with an Adobe marker saying so; YCCK-coded when `ycck`.
QByteArray cmykJpeg(const QImage& src, bool ycck = false);

// A picture whose every pixel differs from its neighbours.
inline QImage gradient(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, (x ^ y) & 0xFF));
    return img;
}

}  // namespace tolvane::test
