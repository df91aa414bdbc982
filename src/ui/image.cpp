#include "ui/image.h"

#include <QPainter>
#include <algorithm>
#include <vector>

namespace tolvane::ui {

namespace {

// GCC's -O2 leaves a widening add over the bytes of a row unvectorised (its
// cheapest cost model); this run asks for the usual one.
#if defined(__GNUC__) && !defined(__clang__)
#define TOLVANE_VECTORISED __attribute__((optimize("vect-cost-model=dynamic")))
#else
#define TOLVANE_VECTORISED
#endif

// columns[i] += row[i] for i < n; the two never overlap.
TOLVANE_VECTORISED void addRow(quint32* __restrict columns, const uchar* __restrict row, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) columns[i] += row[i];
}

// Area-average shrink of the part `from` of a 24-bit picture to `to`, with no
// full-size temporary (a smooth scale would first make a 32-bit copy of the
// whole photo). Each target pixel is the mean of the source pixels that fall
// in it: source column x falls in target column x * dw / sw, source row y in
// target row y * dh / sh. The rows of one target row are first added up
// column by column (a plain run over the bytes), then each target pixel sums
// its run of columns.
QImage shrinkRgb888(const QImage& src, const QRect& from, const QSize& to) {
    const int sw = from.width(), sh = from.height(), dw = to.width(), dh = to.height();
    QImage out(to, QImage::Format_RGB888);
    // Source columns [first[dx], first[dx + 1]) fall in target column dx.
    std::vector<int> first(std::size_t(dw) + 1, sw);
    for (int x = sw - 1; x >= 0; --x) first[std::size_t(qint64(x) * dw / sw)] = x;
    for (int dx = dw - 1; dx >= 0; --dx) first[dx] = std::min(first[dx], first[dx + 1]);
    const std::size_t bytes = std::size_t(sw) * 3;
    std::vector<quint32> columns(bytes);
    int sy = 0;
    for (int dy = 0; dy < dh; ++dy) {
        std::fill(columns.begin(), columns.end(), 0);
        const int syEnd = int(qint64(dy + 1) * sh / dh);
        const int rows = syEnd - sy;
        for (; sy < syEnd; ++sy) {
            addRow(columns.data(), src.constScanLine(from.y() + sy) + 3 * from.x(), bytes);
        }
        uchar* o = out.scanLine(dy);
        for (int dx = 0; dx < dw; ++dx) {
            quint32 r = 0, g = 0, b = 0;
            for (int x = first[dx]; x < first[dx + 1]; ++x) {
                r += columns[3 * std::size_t(x)];
                g += columns[3 * std::size_t(x) + 1];
                b += columns[3 * std::size_t(x) + 2];
            }
            const quint32 n = std::max<quint32>(1, quint32(rows) * quint32(first[dx + 1] - first[dx]));
            o[3 * dx] = uchar(r / n);
            o[3 * dx + 1] = uchar(g / n);
            o[3 * dx + 2] = uchar(b / n);
        }
    }
    return out;
}

// The copy of `picture` for `view`: the part of it that is visible, scaled to
// the size it is drawn at in device pixels. A JPEG picture not decoded at full
// size is decoded only as large as that (Picture::pixelsToShow), then scaled
// down smoothly.
DisplayCopy displayCopyOf(const pictures::Picture& picture, const ImageView& view) {
    DisplayCopy copy;
    copy.made = true;
    copy.view = view;
    QRect r;
    if (!picture.isNone()) {
        try {
            r = pictureRectIn(QSize(picture.width(), picture.height()), view);
        } catch (const std::exception&) {
            return copy;   // not decodable: nothing to draw
        }
    }
    const QRect shown = r.intersected(QRect(QPoint(0, 0), view.box));
    if (shown.isEmpty()) return copy;   // nothing visible: nothing kept but the bytes
    const qreal ratio = view.ratio;
    // In device pixels: the sizes drawn times the screen's ratio.
    const auto device = [ratio](const QSize& s) {
        return QSize(qRound(s.width() * ratio), qRound(s.height() * ratio));
    };
    const QSize drawnSize = device(r.size()), shownSize = device(shown.size());
    QImage pixels;
    try {
        pixels = picture.pixelsToShow(drawnSize);
    } catch (const std::exception&) {
        return copy;   // a picture that does not decode draws nothing; its reader reported it
    }
    // The part of the picture that is visible, in those pixels.
    const double sx = double(pixels.width()) / r.width();
    const double sy = double(pixels.height()) / r.height();
    const QRect source = QRectF((shown.x() - r.x()) * sx, (shown.y() - r.y()) * sy, shown.width() * sx,
                                shown.height() * sy)
                             .toAlignedRect()
                             .intersected(pixels.rect());
    // In a format the window's backing store takes as it is, 32 bits a pixel,
    // so that the paint only copies it (24-bit pixels were converted at every
    // paint); a smooth scale is quicker in it too.
    const QImage::Format drawn =
        pixels.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (pixels.format() == QImage::Format_RGB888 && source.width() >= 2 * shownSize.width() &&
        source.height() >= 2 * shownSize.height()) {
        copy.pixels = shrinkRgb888(pixels, source, shownSize).convertToFormat(drawn);
    } else {
        const QImage part = (source == pixels.rect() ? pixels : pixels.copy(source)).convertToFormat(drawn);
        copy.pixels = part.size() == shownSize
                          ? part
                          : part.scaled(shownSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    copy.pixels.setDevicePixelRatio(ratio);
    copy.shown = shown;
    return copy;
}

}  // namespace

QRect pictureRectIn(QSize size, const ImageView& view) {
    const int pw = size.width(), ph = size.height();
    if (pw <= 0 || ph <= 0) return QRect();
    int w = pw, h = ph;
    const int cw = view.box.width(), ch = view.box.height();
    if (view.stretch || (view.proportional && (pw > cw || ph > ch))) {
        if (view.proportional) {
            const QSize fit = pictures::fitProportionally(QSize(pw, ph), QSize(cw, ch));
            w = fit.width();
            h = fit.height();
        } else {
            w = cw;
            h = ch;
        }
    }
    int x = 0, y = 0;
    if (view.center) {
        x = (cw - w) / 2;
        y = (ch - h) / 2;
    }
    return QRect(x, y, w, h);
}

Shown prepareToShow(pictures::Picture picture, const ImageView& view) {
    DisplayCopy copy = displayCopyOf(picture, view);
    picture.releasePixels();
    return {std::move(picture), std::move(copy)};
}

Image::Image(QWidget* parent, const QString& name, int l, int t, int w, int h)
    : QWidget(parent), Control(this) {
    setObjectName(name);
    setGeometry(l, t, std::max(0, w), std::max(0, h));
    setMouseTracking(true);
    show();
}

void Image::setPicture(const pictures::Picture& p) {
    picture_ = p;
    display_ = DisplayCopy();
    // Pixels decoded already (a file load, a read): the copy is made now, so
    // the full-size pixels go when the caller's picture does.
    if (picture_.isJpeg() && picture_.isDecoded()) prepareDisplay();
    update();
}

void Image::setPicture(Shown shown) {
    picture_ = std::move(shown.picture);
    display_ = shown.copy.view == view() ? std::move(shown.copy) : DisplayCopy();
    if (!display_.made && picture_.isJpeg() && picture_.isDecoded()) prepareDisplay();
    update();
}

ImageView Image::view() const {
    return ImageView{size(), stretch_, proportional_, center_, devicePixelRatioF()};
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
    try {
        return pictureRectIn(QSize(picture_.width(), picture_.height()), view());
    } catch (const std::exception&) {
        return QRect();   // not decodable: nothing to draw
    }
}

bool Image::event(QEvent* e) {
    if (dispatchMouse(e)) return true;
    return QWidget::event(e);
}

bool Image::prepareDisplay() {
    const ImageView now = view();
    if (!display_.made || !(display_.view == now)) display_ = displayCopyOf(picture_, now);
    picture_.releasePixels();
    return !display_.pixels.isNull();
}

void Image::paintEvent(QPaintEvent*) {
    if (!prepareDisplay()) return;
    QPainter p(this);
    p.drawImage(display_.shown.topLeft(), display_.pixels);
}

}  // namespace tolvane::ui
