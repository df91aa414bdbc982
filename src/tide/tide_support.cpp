#include "tide/tide_support.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <limits>

#include "ui/controls.h"
#include "ui/form.h"

namespace tolvane::tide {

int offsetSum(std::int64_t a, std::int64_t b) {
    return static_cast<int>(std::clamp<std::int64_t>(a + b, -kOffsetLimit, kOffsetLimit));
}

namespace {

QRect availableArea(const ui::Form& f) {
    QScreen* s = f.screen();
    if (s == nullptr) s = QGuiApplication::primaryScreen();
    if (s == nullptr) return QRect(0, 0, std::numeric_limits<int>::max() / 2, std::numeric_limits<int>::max() / 2);
    return s->availableGeometry();
}

}  // namespace

int maxClientWidth(const ui::Form& f) {
    const int frame = std::max(0, f.frameGeometry().width() - f.width());
    return std::max(1, availableArea(f).width() - frame);
}

int maxClientHeight(const ui::Form& f) {
    const int frame = std::max(0, f.frameGeometry().height() - f.height());
    return std::max(1, availableArea(f).height() - frame);
}

void keepOnScreen(ui::Form& f) {
    const QRect area = availableArea(f);
    const QRect frame = f.frameGeometry();
    const int dx = std::min(0, area.right() - frame.right());
    const int dy = std::min(0, area.bottom() - frame.bottom());
    if (dx != 0 || dy != 0)
        f.move(std::max(area.left(), f.x() + dx), std::max(area.top(), f.y() + dy));
}

void clampToPictureArea(ui::Shape& s, int areaLeft, int areaRight) {
    if (s.left() < areaLeft) s.setLeft(areaLeft);
    if (s.width() < 3) s.setWidth(10);
    if (s.left() + s.width() > areaRight) s.setWidth(areaRight - s.left());
    if (s.width() < 3) s.setBounds(areaRight - 10, s.top(), 10, s.height());
}

}  // namespace tolvane::tide
