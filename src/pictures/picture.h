// The picture a window shows: nothing, a bitmap (pixels), or a JPEG picture
// (its compressed bytes, the pixels decoded on first need). Copying a picture
// keeps its kind, so a JPEG picture moved from one control to another is
// still stored with its bytes unchanged.
#pragma once

#include <QByteArray>
#include <QImage>
#include <memory>

namespace tolvane::pictures {

class Picture {
public:
    enum class Kind { None, Bitmap, Jpeg };

    Picture() = default;                              // nothing
    static Picture fromBitmap(const QImage& pixels);  // an empty 0 x 0 bitmap is a picture
    static Picture fromJpeg(const QByteArray& bytes); // decoded on first need
    // A JPEG picture whose pixels are already decoded from `bytes`.
    static Picture fromJpeg(const QByteArray& bytes, const QImage& decoded);

    Kind kind() const { return kind_; }
    bool isNone() const { return kind_ == Kind::None; }
    bool isJpeg() const { return kind_ == Kind::Jpeg; }
    bool isBitmap() const { return kind_ == Kind::Bitmap; }

    // Pixels for drawing (RGB); a JPEG picture is decoded at the first call.
    // Throws std::runtime_error with the decoder's message when it cannot.
    const QImage& pixels() const;
    // The JPEG bytes of a JPEG picture (empty otherwise).
    const QByteArray& jpegBytes() const { return jpeg_; }

    // False only for a JPEG picture not yet decoded (or whose pixels were
    // released).
    bool isDecoded() const;
    // Drops this copy's decoded pixels of a JPEG picture: its bytes stay and
    // it is decoded again at the next need. Copies made before keep theirs.
    // A bitmap keeps its pixels (they are the picture).
    void releasePixels();

    // Nothing gives 0 x 0; a JPEG picture not yet decoded is measured from
    // its header (throws as pixels() does when that is unreadable).
    int width() const;
    int height() const;

private:
    Kind kind_ = Kind::None;
    QByteArray jpeg_;
    // Shared, so copies of one JPEG picture decode once.
    std::shared_ptr<QImage> pixels_;
};

}  // namespace tolvane::pictures
