#include "pictures/size_label.h"

#include <QPainter>

namespace tolvane::pictures {

SizeLabel::SizeLabel(QWidget* parent, const QString& name, int l, int t, int w, int h)
    : ui::Label(parent, name, QString(), l, t, w, h) {}

void SizeLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QString shown = caption();
    shown.replace(QChar(13), QChar(10));
    p.setFont(font());
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(contentsRect(), int(alignment()), shown);
}

}  // namespace tolvane::pictures
