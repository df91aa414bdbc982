#include "pictures/storage.h"

#include "db/fb.h"
#include "imaging/codec.h"

#include <optional>
#include <string>
#include <string_view>

namespace tolvane::pictures {
namespace {

void bind(db::Param& param, const QByteArray& bytes)
{
    param.setBlob(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

QByteArray fieldBytes(const db::Field& field)
{
    const std::string bytes = field.asBytes();
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

}  // namespace

void checkStorable(const Picture& picture)
{
    if (picture.isNone())
        return;
    const std::int64_t w = picture.width();
    const std::int64_t h = picture.height();
    if (w * h > kMaxPixels)
        throw CodecError("Picture of " + std::to_string(w) + " x " + std::to_string(h) +
                         " pixels exceeds the limit of " + std::to_string(kMaxPixels) + " pixels");
}

QByteArray reencodedJpegBytes(const Picture& picture)
{
    return encodeJpeg(picture.pixels());
}

QByteArray keptJpegBytes(const Picture& picture)
{
    if (picture.isJpeg())
        return picture.jpegBytes();
    return reencodedJpegBytes(picture);
}

QByteArray ownFormatBytes(const Picture& picture)
{
    if (picture.isJpeg())
        return picture.jpegBytes();
    return writeBmp(picture.pixels());
}

void reencodingJpegWrite(db::Param& param, const Picture& picture)
{
    if (!picture.isNone())
        bind(param, reencodedJpegBytes(picture));
}

void keepingJpegWrite(db::Param& param, const Picture& picture)
{
    if (!picture.isNone())
        bind(param, keptJpegBytes(picture));
}

void ownFormatWrite(db::Param& param, const Picture& picture)
{
    if (!picture.isNone())
        bind(param, ownFormatBytes(picture));
}

namespace {

// A bitmap when the bytes are a BMP file (empty bytes: the empty bitmap),
// otherwise nothing: the caller reads them as JPEG.
std::optional<Picture> bitmapOf(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return Picture::fromBitmap(QImage());
    try {
        return Picture::fromBitmap(readBmp(bytes));
    } catch (const CodecError&) {
        return std::nullopt;
    }
}

}  // namespace

Picture decodeBitmapFirst(const QByteArray& bytes)
{
    if (auto bitmap = bitmapOf(bytes))
        return *std::move(bitmap);
    return decodeJpegOnly(bytes);
}

Picture decodeBitmapFirst(const QByteArray& bytes, QSize view)
{
    if (auto bitmap = bitmapOf(bytes))
        return *std::move(bitmap);
    return decodeJpegOnly(bytes, view);
}

Picture decodeJpegOnly(const QByteArray& bytes)
{
    if (bytes.isEmpty())   // a zero-length value is the empty picture for every reader
        return Picture::fromBitmap(QImage());
    // Decoded now, so a blob that is not a picture fails at the read rather
    // than when the control first draws it.
    return Picture::fromJpeg(bytes, decodeJpeg(bytes));
}

Picture decodeJpegOnly(const QByteArray& bytes, QSize view)
{
    if (bytes.isEmpty())
        return Picture::fromBitmap(QImage());
    const QSize full = jpegSize(bytes);   // throws when the header is unreadable
    const QSize shown = full.width() > view.width() || full.height() > view.height()
                            ? fitProportionally(full, view)
                            : full;
    if (shown.width() * 2 > full.width() || shown.height() * 2 > full.height())
        return decodeJpegOnly(bytes);   // little to gain: the full decode, as the plain read
    Picture picture = Picture::fromJpeg(bytes);
    picture.pixelsToShow(shown);
    return picture;
}

Picture bitmapFirstRead(const db::Field& field, NullTest nullTest)
{
    if (field.isNull())
        return nullTest == NullTest::With ? Picture() : Picture::fromBitmap(QImage());
    return decodeBitmapFirst(fieldBytes(field));
}

Picture jpegOnlyRead(const db::Field& field)
{
    if (field.isNull())
        return Picture();
    return decodeJpegOnly(fieldBytes(field));
}

Picture jpegOnlyRead(const db::Field& field, QSize view)
{
    if (field.isNull())
        return Picture();
    return decodeJpegOnly(fieldBytes(field), view);
}

}  // namespace tolvane::pictures
