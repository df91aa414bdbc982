#include "imaging/picture.h"

#include "imaging/codec.h"

namespace tolvane::pictures {

Picture Picture::fromBitmap(const QImage& pixels)
{
    Picture p;
    p.kind_ = Kind::Bitmap;
    p.pixels_ = std::make_shared<QImage>(pixels);
    return p;
}

Picture Picture::fromJpeg(const QByteArray& bytes)
{
    Picture p;
    p.kind_ = Kind::Jpeg;
    p.jpeg_ = bytes;
    p.pixels_ = std::make_shared<QImage>();
    p.reduced_ = std::make_shared<QImage>();
    return p;
}

Picture Picture::fromJpeg(const QByteArray& bytes, const QImage& decoded)
{
    Picture p = fromJpeg(bytes);
    *p.pixels_ = decoded;
    return p;
}

bool Picture::isDecoded() const
{
    return kind_ != Kind::Jpeg || !pixels_->isNull();
}

void Picture::releasePixels()
{
    if (kind_ == Kind::Jpeg && !pixels_->isNull())
        pixels_ = std::make_shared<QImage>();
}

const QImage& Picture::pixels() const
{
    static const QImage nothing;
    if (kind_ == Kind::None)
        return nothing;
    if (kind_ == Kind::Jpeg && pixels_->isNull())
        *pixels_ = decodeJpeg(jpeg_);
    return *pixels_;
}

QImage Picture::pixelsToShow(QSize shown) const
{
    if (kind_ != Kind::Jpeg || !pixels_->isNull())
        return pixels();
    if (!reduced_->isNull() && reduced_->width() >= shown.width() && reduced_->height() >= shown.height())
        return *reduced_;
    QSize full;
    QImage decoded = decodeJpegScaled(jpeg_, shown, &full);
    if (decoded.size() == full)   // no smaller scale covers it: the full decode
        *pixels_ = decoded;
    else if (decoded.width() <= (full.width() + 1) / 2 && decoded.height() <= (full.height() + 1) / 2)
        *reduced_ = decoded;
    return decoded;
}

int Picture::width() const
{
    if (kind_ == Kind::Jpeg && pixels_->isNull())
        return jpegSize(jpeg_).width();
    return pixels().width();
}

int Picture::height() const
{
    if (kind_ == Kind::Jpeg && pixels_->isNull())
        return jpegSize(jpeg_).height();
    return pixels().height();
}

QSize fitProportionally(QSize picture, QSize box)
{
    const qint64 pw = picture.width(), ph = picture.height(), bw = box.width(), bh = box.height();
    if (pw <= 0 || ph <= 0)
        return QSize(0, 0);
    if (bw * ph <= bh * pw)
        return QSize(int(bw), int(ph * bw / pw));
    return QSize(int(pw * bh / ph), int(bh));
}

}  // namespace tolvane::pictures
