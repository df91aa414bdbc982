#include "pictures/input.h"

#include "imaging/codec.h"
#include "pictures/labels.h"
#include "ui/platform.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace tolvane::pictures {
namespace {

QByteArray readWholeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CodecError(("Cannot open " + path + ": " + file.errorString()).toStdString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw CodecError(("Cannot read " + path + ": " + file.errorString()).toStdString());
    if (bytes.isEmpty())
        throw CodecError(("Empty file: " + path).toStdString());
    return bytes;
}

QImage readIcon(const QByteArray& bytes)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    reader.setAutoDetectImageFormat(false);
    QImage image;
    if (!reader.read(&image) || image.isNull())
        throw CodecError(("Invalid icon: " + reader.errorString()).toStdString());
    return image;
}

QString message(const char* text)
{
    return QString::fromUtf8(text);
}

Picture loadByExtension(const QString& path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == u"jpg" || ext == u"jpeg") {
        const QByteArray bytes = readWholeFile(path);
        return Picture::fromJpeg(bytes, decodeJpeg(bytes));
    }
    if (ext == u"bmp")
        return Picture::fromBitmap(readBmp(readWholeFile(path)));
    if (ext == u"ico")
        return Picture::fromBitmap(readIcon(readWholeFile(path)));
    if (ext == u"emf" || ext == u"wmf")
        throw CodecError(("Metafiles are not supported: " + path).toStdString());
    throw CodecError(("Unknown picture file extension: " + path).toStdString());
}

}  // namespace

Picture loadPictureFile(const QString& path)
{
    Picture picture = loadByExtension(path);
    checkIncomingSize(picture.width(), picture.height());
    return picture;
}

QStringList defaultPictureFilters()
{
    return {QStringLiteral("すべての画像 (*.jpg *.jpeg *.bmp *.ico)"),
            QStringLiteral("JPEG イメージファイル (*.jpg)"),
            QStringLiteral("JPEG イメージファイル (*.jpeg)"),
            QStringLiteral("ビットマップ (*.bmp)"),
            QStringLiteral("アイコン (*.ico)")};
}

QStringList jpegPictureFilters()
{
    return {QStringLiteral("JPEG イメージファイル (*.jpg)"),
            QStringLiteral("JPEG イメージファイル (*.jpeg)")};
}

bool bitmapPaste(QWidget* owner, Picture& picture, Notice notice)
{
    ui::Platform& platform = ui::platform();
    if (!platform.clipboardHasBitmap()) {
        if (notice == Notice::Message)
            platform.messageBox(owner, message(kNoPictureOnClipboard));
        return false;
    }
    // A picture the clipboard offers but that cannot be read (a truncated
    // file, or one too large to decode), or that is larger than a file load
    // takes, is a failed paste: the picture, and whatever is stored from it
    // later, stays as it was.
    const QImage bitmap = platform.clipboardBitmap();
    if (bitmap.isNull() || !withinIncomingSize(bitmap.width(), bitmap.height())) {
        if (notice == Notice::Message)
            platform.messageBox(owner, message(kPasteFailed));
        return false;
    }
    picture = Picture::fromBitmap(bitmap.copy());
    return true;
}

bool anyPicturePaste(QWidget* owner, Picture& picture, Notice notice)
{
    ui::Platform& platform = ui::platform();
    if (!platform.clipboardHasPicture()) {
        if (notice == Notice::Message)
            platform.messageBox(owner, message(kNoPictureOnClipboard));
        return false;
    }
    try {
        const QImage image = platform.clipboardPicture();
        if (image.isNull())
            throw CodecError("The clipboard's picture could not be read");
        checkIncomingSize(image.width(), image.height());
        picture = Picture::fromBitmap(image.copy());
        return true;
    } catch (const std::exception&) {
        platform.messageBox(owner, message(kPasteFailed));
        return false;
    }
}

std::optional<QString> extensionSwitchFileLoad(QWidget* owner, Picture& picture)
{
    ui::Platform& platform = ui::platform();
    const QString path = platform.openPictureFile(owner, defaultPictureFilters());
    if (path.isEmpty())
        return std::nullopt;
    const QString upper = path.toUpper();
    if (upper.contains(u".BMP")) {
        picture = loadPictureFile(path);   // errors go to the handler's error box
    } else if (upper.contains(u".JPG") || upper.contains(u".JPEG")) {
        try {
            picture = Picture::fromBitmap(decodeJpeg(readWholeFile(path)));
        } catch (const std::exception&) {
            platform.messageBox(owner, message(kUnsupportedFormat));
        }
    }
    if (picture.isNone())
        return std::nullopt;
    return fileLoadSizeLabel(picture);
}

bool plainFileLoad(QWidget* owner, Picture& picture)
{
    ui::Platform& platform = ui::platform();
    const QString path = platform.openPictureFile(owner, jpegPictureFilters());
    if (path.isEmpty())
        return false;
    try {
        picture = loadPictureFile(path);
        return true;
    } catch (const std::exception&) {
        platform.messageBox(owner, message(kChooseJpegPhoto));
        return false;
    }
}

}  // namespace tolvane::pictures
