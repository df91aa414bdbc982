#include "ui/scrollbox.h"

#include <QEvent>

namespace tolvane::ui {

ScrollBox::ScrollBox(QWidget* parent, const QString& name, int l, int t, int w, int h)
    : QScrollArea(parent), Control(this) {
    setObjectName(name);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    client_ = new QWidget;
    client_->setObjectName(name + QStringLiteral("_client"));
    client_->setAutoFillBackground(false);
    setWidget(client_);
    setWidgetResizable(true);   // the client is as large as the visible area (or its minimum)
    viewport()->setAutoFillBackground(false);
    setGeometry(l, t, std::max(0, w), std::max(0, h));
    // The visible area inside the frame, before the box is first laid out.
    client_->resize(std::max(0, w - 2 * frameWidth()), std::max(0, h - 2 * frameWidth()));
    show();
}

// Mouse events on the frame reach the box; those on the client area that no
// control took come up through the viewport.
bool ScrollBox::event(QEvent* e) {
    if (dispatchMouse(e)) return true;
    return QScrollArea::event(e);
}

bool ScrollBox::viewportEvent(QEvent* e) {
    if (dispatchMouse(e)) return true;
    return QScrollArea::viewportEvent(e);
}

}  // namespace tolvane::ui
