#include "ui/image.h"

#include <QPainter>

namespace tolvane::ui {

Image::Image(QWidget* parent, const QString& name, int l, int t, int w, int h)
    : QWidget(parent), Control(this) {
    setObjectName(name);
    setGeometry(l, t, std::max(0, w), std::max(0, h));
    setMouseTracking(true);
    show();
}

void Image::setPicture(const pictures::Picture& p) {
    picture_ = p;
    update();
}

void Image::setStretch(bool on) {
    stretch_ = on;
    update();
}
void Image::setProportional(bool on) {
    proportional_ = on;
    update();
}
void Image::setCenter(bool on) {
    center_ = on;
    update();
}

QRect Image::pictureRect() const {
    if (picture_.isNone()) return QRect();
    int pw = 0, ph = 0;
    try {
        pw = picture_.width();
        ph = picture_.height();
    } catch (const std::exception&) {
        return QRect();   // not decodable: nothing to draw
    }
    if (pw <= 0 || ph <= 0) return QRect();
    int w = pw, h = ph;
    const int cw = width(), ch = height();
    if (stretch_ || (proportional_ && (pw > cw || ph > ch))) {
        if (proportional_) {
            // The largest size with the picture's proportions that fits.
            if (static_cast<qint64>(cw) * ph <= static_cast<qint64>(ch) * pw) {
                w = cw;
                h = static_cast<int>(static_cast<qint64>(ph) * cw / pw);
            } else {
                h = ch;
                w = static_cast<int>(static_cast<qint64>(pw) * ch / ph);
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    int x = 0, y = 0;
    if (center_) {
        x = (cw - w) / 2;
        y = (ch - h) / 2;
    }
    return QRect(x, y, w, h);
}

bool Image::event(QEvent* e) {
    if (dispatchMouse(e)) return true;
    return QWidget::event(e);
}

void Image::paintEvent(QPaintEvent*) {
    const QRect r = pictureRect();
    if (r.isEmpty()) return;
    const QImage* pixels = nullptr;
    try {
        pixels = &picture_.pixels();
    } catch (const std::exception&) {
        return;   // a picture that does not decode draws nothing; its reader reported it
    }
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, r.size() != pixels->size());
    p.drawImage(r, *pixels);
}

}  // namespace tolvane::ui
