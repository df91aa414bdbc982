#include "pictures/picture.h"

#include "pictures/codec.h"

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

}  // namespace tolvane::pictures
