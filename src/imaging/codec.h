// The two file formats a picture blob holds: JPEG, through libjpeg called
// directly, and the Windows bitmap file (BMP with its file header), through
// Qt's BMP reader and writer.
//
// Every failure comes back as a CodecError carrying the library's message;
// libjpeg never ends the process, and corrupt or truncated input never
// crashes. Pictures whose header claims more than kMaxPixels pixels are
// refused before anything is allocated for them.
#pragma once

#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <stdexcept>

namespace tolvane::pictures {

class CodecError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The largest picture accepted from a file or a blob: 100 megapixels (a
// 24-bit decode of it takes 300 MB).
inline constexpr std::int64_t kMaxPixels = 100'000'000;

// The largest width or height of a picture taken in from a file or the
// clipboard: libjpeg's, so every picture taken in can be stored as JPEG.
// The readers themselves take wider bitmaps (up to kMaxPixels), so a wide
// one stored as a bitmap file stays readable.
inline constexpr std::int64_t kMaxSide = 65'500;

// Whether a picture of width x height has at most kMaxPixels pixels and no
// side longer than kMaxSide: what a file load or a paste takes.
bool withinIncomingSize(std::int64_t width, std::int64_t height);
// Throws CodecError naming the size when it is not.
void checkIncomingSize(std::int64_t width, std::int64_t height);

// Lets Qt's image readers (the BMP reader here, and the clipboard's reading
// of the pictures other programs offer) allocate a picture of kMaxPixels at
// 4 bytes a pixel. The limit is the process's and every read looks at it:
// the program sets it once at start, before any thread reads a picture
// (a first read of a 1 x 1 bitmap is made then too, see codec.cpp).
void allowPicturesUpToMaxPixels();

// Fixed encoder settings: quality 90 with the quantisation tables forced to
// baseline values, baseline sequential, colour (YCbCr), from 24-bit RGB, full
// size, libjpeg's defaults otherwise. A picture with no pixels (width or
// height 0, or a null image) encodes to zero bytes.
QByteArray encodeJpeg(const QImage& pixels);

// Full-size decode to 24-bit RGB (QImage::Format_RGB888), islow DCT, fancy
// upsampling and block smoothing on. CMYK and YCCK files are decoded through
// libjpeg's CMYK output to RGB (the samples inverted when an Adobe marker
// says so). Every decode turns the pixels upright by the orientation of the
// file's EXIF block, so width and height are the upright ones; the file
// itself is not changed.
// Damage that would make libjpeg fill pixels in rather than decode them is
// an error with libjpeg's message, not a half-grey picture: data that ends
// early (with or without an end marker after it), scans missing after it
// (a sequential file with a component in no scan; a progressive file with
// a coefficient never sent or never refined to full precision, as no common
// encoder writes one), a lost restart marker, codes that decode to nothing,
// and a header claiming more blocks than its data could hold (refused
// before anything is allocated for the picture). Arithmetic-coded files are
// held to the same: cut short, they are refused by how much of the zero fill
// their decoder takes past the last scan's data (see codec.cpp; a cut that
// loses only what a whole scan may leave out cannot be told from a whole
// file), as is a scan that carries no data at all yet codes something, and
// a small one claiming a huge picture before that picture is allocated.
QImage decodeJpeg(const QByteArray& bytes);

// A decode for showing only, never for storing: at the smallest of
// libjpeg's DCT scales 1/8, 2/8 ... 8/8 whose output is at least `atLeast`
// in both directions (full size when no smaller scale is), with the settings
// of decodeJpeg otherwise (upright too; `atLeast` is an upright size). The
// whole file is read, so what decodeJpeg refuses is refused here too.
// `fullSize`, when given, gets the picture's own upright width and height.
QImage decodeJpegScaled(const QByteArray& bytes, QSize atLeast, QSize* fullSize = nullptr);

// Upright width and height from the JPEG header alone (no pixels decoded);
// refuses what the header alone shows decodeJpeg would refuse.
QSize jpegSize(const QByteArray& bytes);

// Reads a BMP file (every form Qt's reader takes: 1/4/8/16/24/32 bits,
// RLE, bit fields, OS/2 and V4/V5 headers). Zero bytes give the empty 0 x 0
// bitmap (a null QImage), as an empty blob reads. Whatever the file leaves
// unpainted (run-length data that ends early or skips pixels) is black, the
// same on every read; channels of fewer than 8 bits (16-bit files) are
// stretched to the full range, white reading 255, 255, 255. A file shorter
// than its headers, colour table and rows need is refused. Pictures over
// Qt's default allocation limit (256 MB decoded) need
// allowPicturesUpToMaxPixels() called at start.
QImage readBmp(const QByteArray& bytes);

// Writes a BMP file; the empty 0 x 0 bitmap writes zero bytes.
QByteArray writeBmp(const QImage& pixels);

}  // namespace tolvane::pictures
