#include "photo/photo_common.h"

#include <QPainter>

#include "ui/image.h"

namespace tolvane::photo {

QString textOf(const ui::Form* form, const QString& name) {
    if (auto* e = controlOf<ui::Edit>(form, name)) return e->text();
    if (auto* l = controlOf<ui::Label>(form, name)) return l->caption();
    return QString();
}

pictures::Picture pictureOf(const ui::Form* form, const QString& name) {
    if (auto* img = controlOf<ui::Image>(form, name)) return img->picture();
    return pictures::Picture();
}

std::optional<int> wholeNumber(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return v;
}

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

}  // namespace tolvane::photo
