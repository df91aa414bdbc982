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

    // Pixels for drawing the picture `shown` large (its size on screen), and
    // for nothing else (a store or a re-encoding takes pixels()): a bitmap's
    // pixels or a decoded JPEG picture's full pixels; otherwise a JPEG
    // picture decoded at the smallest DCT scale that is at least `shown`
    // (decodeJpegScaled). A decode of at most half the width and height is
    // kept, shared by copies, for every later draw it covers; a full-size
    // one becomes the picture's pixels. Throws as pixels() does.
    QImage pixelsToShow(QSize shown) const;

    // False only for a JPEG picture not yet decoded at full size (or whose
    // full-size pixels were released).
    bool isDecoded() const;
    // Drops this copy's full-size pixels of a JPEG picture: its bytes (and a
    // smaller decode kept for showing) stay and it is decoded again at the
    // next need. Copies made before keep theirs. A bitmap keeps its pixels
    // (they are the picture).
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
    // A JPEG picture's decode at a smaller DCT scale, for showing only.
    std::shared_ptr<QImage> reduced_;
};

// The largest size with the proportions of `picture` that fits in `box`.
QSize fitProportionally(QSize picture, QSize box);

}  // namespace tolvane::pictures
