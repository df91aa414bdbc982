#include "pictures/labels.h"

namespace tolvane::pictures {

QString pasteSizeLabel(const Picture& picture)
{
    return QString::number(picture.width()) + QStringLiteral(" * ") +
           QString::number(picture.height());
}

QString fileLoadSizeLabel(const Picture& picture)
{
    return QStringLiteral("BitMapのサイズ　") + QChar(13) + pasteSizeLabel(picture);
}

QString openingSizeLabel(const Picture& picture, const QString& jpegText)
{
    return picture.isJpeg() ? jpegText : pasteSizeLabel(picture);
}

std::pair<QString, QString> memoPictureLabels(const Picture& picture)
{
    if (picture.isJpeg())
        return {QStringLiteral("画像データは"), QStringLiteral("jpeg")};
    return {QStringLiteral("BitMapのサイズ"), pasteSizeLabel(picture)};
}

}  // namespace tolvane::pictures
