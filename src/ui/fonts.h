// The program's one font family and the place where the Windows face names
// the windows ask for are mapped onto the Japanese fonts of this system.
#pragma once

#include <QFont>
#include <QString>

namespace tolvane::ui {

// The face every window asks for.
inline const QString kWindowFontFamily = QStringLiteral("ＭＳ Ｐゴシック");

// Maps "ＭＳ Ｐゴシック", "MS PGothic" and their relatives onto IPAPGothic (and
// the fixed-pitch faces onto IPAGothic). Safe to call more than once; every
// Form calls it, so tests and the program get the same mapping.
void installFontSubstitutions();

// The window font at `pixelSize` pixels high.
QFont windowFont(int pixelSize, bool bold = false);

}  // namespace tolvane::ui
