// The size labels beside a picture control. W and H are the picture's width
// and height in pixels as decimal integers.
#pragma once

#include "imaging/picture.h"

#include <QString>
#include <utility>

namespace tolvane::pictures {

// After a bitmap paste: W + " * " + H.
QString pasteSizeLabel(const Picture& picture);

// After an extension-switch file load: "BitMapのサイズ　" (ending in a
// full-width space), a carriage return (no line feed), then W + " * " + H.
QString fileLoadSizeLabel(const Picture& picture);

// On opening an editor with its opener's picture: `jpegText` ("jpeg" in the
// map editor, "jpg" in the rectangle-style tide editor) for a JPEG picture,
// otherwise W + " * " + H.
QString openingSizeLabel(const Picture& picture, const QString& jpegText);

// The memo map and tide window's two labels: "画像データは" and "jpeg" for a
// JPEG picture, otherwise "BitMapのサイズ" and W + " * " + H.
std::pair<QString, QString> memoPictureLabels(const Picture& picture);

}  // namespace tolvane::pictures
