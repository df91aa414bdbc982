// Writing a picture into a blob parameter and reading it back from a blob
// column. A picture blob holds the bytes of one whole image file (a JPEG file
// or a Windows bitmap file), NULL for no picture, with no format tag; a reader
// tells the format by trying to decode.
#pragma once

#include "imaging/picture.h"

#include <QByteArray>
#include <QSize>

namespace tolvane::db {
class Param;
class Field;
}

namespace tolvane::pictures {

// Write variants. A picture that is nothing leaves the parameter untouched,
// so it goes to the server as NULL; a picture of 0 pixels writes a blob of
// length zero.
//
// Re-encoding JPEG write: the pixels (a JPEG picture's decoded pixels) are
// encoded again with the fixed settings, every time.
void reencodingJpegWrite(db::Param& param, const Picture& picture);
// Keeping JPEG write: a JPEG picture's own bytes, unchanged; any other
// picture encoded as in the re-encoding write.
void keepingJpegWrite(db::Param& param, const Picture& picture);
// Own-format write: a bitmap as a BMP file, a JPEG picture's bytes unchanged.
void ownFormatWrite(db::Param& param, const Picture& picture);

// Throws CodecError for a picture no reader would take back (more pixels
// than kMaxPixels); call it before anything is converted for a write.
void checkStorable(const Picture& picture);

// The bytes each write variant stores (for a picture that is not nothing).
QByteArray reencodedJpegBytes(const Picture& picture);
QByteArray keptJpegBytes(const Picture& picture);
QByteArray ownFormatBytes(const Picture& picture);

// Read variants.
enum class NullTest { Without, With };

// Bitmap-first read: NULL with the test gives nothing; NULL without it, and a
// zero-length blob, give the empty 0 x 0 bitmap; otherwise the bytes are read
// as a BMP file and, when that fails, as JPEG (a JPEG picture, decoded here).
// Throws CodecError (the JPEG decoder's message) when both fail.
Picture bitmapFirstRead(const db::Field& field, NullTest nullTest);
// JPEG-only read: NULL gives nothing, a zero-length blob the empty 0 x 0
// bitmap; otherwise the bytes must be JPEG (no bitmap attempt).
Picture jpegOnlyRead(const db::Field& field);

// JPEG-only read for a control that shows the photo at most `view` large,
// shrunk with its proportions (a window whose photos can be enlarged gives
// the enlarged size). Decoded at once as above, but when the photo is shown
// at no more than half its width and height, only at the smallest DCT scale
// that covers its size in `view` (Picture::pixelsToShow): every size it is
// shown at up to `view` draws from that decode, and its full-size pixels are
// decoded at their first need (a re-encoding write).
Picture jpegOnlyRead(const db::Field& field, QSize view);

// The same decisions on bytes already fetched.
Picture decodeBitmapFirst(const QByteArray& bytes);
// Bitmap-first for a control that shows the picture at most `view` large: a
// bitmap as it is, a JPEG picture as decodeJpegOnly(bytes, view) decodes it.
Picture decodeBitmapFirst(const QByteArray& bytes, QSize view);
Picture decodeJpegOnly(const QByteArray& bytes);
Picture decodeJpegOnly(const QByteArray& bytes, QSize view);

}  // namespace tolvane::pictures
