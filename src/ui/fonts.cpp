#include "ui/fonts.h"

#include <QStringList>

namespace tolvane::ui {

void installFontSubstitutions() {
    static bool done = false;
    if (done) return;
    done = true;
    const QStringList proportional = {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                                      QStringLiteral("Noto Sans CJK JP")};
    const QStringList fixed = {QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"),
                               QStringLiteral("Noto Sans Mono CJK JP")};
    for (const char* name : {"ＭＳ Ｐゴシック", "MS PGothic", "MS UI Gothic", "Meiryo", "メイリオ"})
        QFont::insertSubstitutions(QString::fromUtf8(name), proportional);
    for (const char* name : {"ＭＳ ゴシック", "MS Gothic"})
        QFont::insertSubstitutions(QString::fromUtf8(name), fixed);
}

QFont windowFont(int pixelSize, bool bold) {
    installFontSubstitutions();
    QFont f(kWindowFontFamily);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

}  // namespace tolvane::ui
