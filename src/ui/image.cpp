#include "ui/image.h"

#include <QPainter>
#include <algorithm>
#include <vector>

namespace tolvane::ui {

namespace {

// Area-average shrink of the part `from` of a 24-bit picture to `to`, with no
// full-size temporary (a smooth scale would first make a 32-bit copy of the
// whole photo). Each target pixel is the mean of the source pixels that fall
// in it.
QImage shrinkRgb888(const QImage& src, const QRect& from, const QSize& to) {
    const int sw = from.width(), sh = from.height(), dw = to.width(), dh = to.height();
    QImage out(to, QImage::Format_RGB888);
    std::vector<int> column(sw);
    for (int x = 0; x < sw; ++x) column[x] = int(qint64(x) * dw / sw);
    std::vector<quint32> sum(std::size_t(dw) * 3);
    std::vector<quint32> count(dw);
    int sy = 0;
    for (int dy = 0; dy < dh; ++dy) {
        std::fill(sum.begin(), sum.end(), 0);
        std::fill(count.begin(), count.end(), 0);
        const int syEnd = int(qint64(dy + 1) * sh / dh);
        for (; sy < syEnd; ++sy) {
            const uchar* row = src.constScanLine(from.y() + sy) + 3 * from.x();
            for (int x = 0; x < sw; ++x) {
                const int dx = column[x];
                sum[3 * dx] += row[3 * x];
                sum[3 * dx + 1] += row[3 * x + 1];
                sum[3 * dx + 2] += row[3 * x + 2];
                ++count[dx];
            }
        }
        uchar* o = out.scanLine(dy);
        for (int dx = 0; dx < dw; ++dx) {
            const quint32 n = std::max<quint32>(1, count[dx]);
            o[3 * dx] = uchar(sum[3 * dx] / n);
            o[3 * dx + 1] = uchar(sum[3 * dx + 1] / n);
            o[3 * dx + 2] = uchar(sum[3 * dx + 2] / n);
        }
    }
    return out;
}

}  // namespace

Image::Image(QWidget* parent, const QString& name, int l, int t, int w, int h)
    : QWidget(parent), Control(this) {
    setObjectName(name);
    setGeometry(l, t, std::max(0, w), std::max(0, h));
    setMouseTracking(true);
    show();
}

void Image::setPicture(const pictures::Picture& p) {
    picture_ = p;
    display_ = QImage();
    displayFor_ = displayShown_ = QRect();
    // Pixels decoded already (a file load, a read): the copy is made now, so
    // the full-size pixels go when the caller's picture does.
    if (picture_.isJpeg() && picture_.isDecoded()) prepareDisplay();
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
            const QSize fit = pictures::fitProportionally(QSize(pw, ph), QSize(cw, ch));
            w = fit.width();
            h = fit.height();
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

bool Image::prepareDisplay() {
    const QRect r = pictureRect();
    const QRect shown = r.intersected(rect());
    if (shown.isEmpty()) {   // nothing visible: nothing kept but the bytes
        display_ = QImage();
        picture_.releasePixels();
        return false;
    }
    if (display_.isNull() || displayFor_ != r || displayShown_ != shown) {
        // At least the size drawn: a JPEG picture not decoded at full size
        // is decoded only as large as that, then scaled down smoothly.
        QImage pixels;
        try {
            pixels = picture_.pixelsToShow(r.size());
        } catch (const std::exception&) {
            display_ = QImage();
            return false;   // a picture that does not decode draws nothing; its reader reported it
        }
        // The part of the picture that is visible, in those pixels.
        const double sx = double(pixels.width()) / r.width();
        const double sy = double(pixels.height()) / r.height();
        const QRect source = QRectF((shown.x() - r.x()) * sx, (shown.y() - r.y()) * sy,
                                    shown.width() * sx, shown.height() * sy)
                                 .toAlignedRect()
                                 .intersected(pixels.rect());
        if (pixels.format() == QImage::Format_RGB888 && source.width() >= 2 * shown.width() &&
            source.height() >= 2 * shown.height()) {
            display_ = shrinkRgb888(pixels, source, shown.size());
        } else {
            const QImage part = source == pixels.rect() ? pixels : pixels.copy(source);
            display_ = part.size() == shown.size()
                           ? part
                           : part.scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        displayFor_ = r;
        displayShown_ = shown;
    }
    picture_.releasePixels();
    return true;
}

void Image::paintEvent(QPaintEvent*) {
    if (!prepareDisplay()) return;
    QPainter p(this);
    p.drawImage(displayShown_.topLeft(), display_);
}

}  // namespace tolvane::ui
