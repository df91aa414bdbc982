#include "ui/control.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QPointer>
#include <QWidget>

#include "ui/fonts.h"
#include "ui/form.h"
#include "ui/guard.h"

namespace tolvane::ui {

// Keeps an anchored control at its distances from its parent's edges. The
// distances are those of the control's bounds when the anchors were set, or,
// once the control was moved or sized by anything but the keeper (an
// auto-sized label taking a new caption, a handler setting its bounds), those
// of its bounds then, measured against the parent size it had last been
// placed for. Such a change is found when the parent's next resize arrives,
// not when it happens: a hidden parent hears of its resizes only when shown.
class AnchorKeeper : public QObject {
public:
    AnchorKeeper(Control* c) : QObject(c->widget()), c_(c), parent_(c->widget()->parentWidget()) {
        parent_->installEventFilter(this);
        c->widget()->installEventFilter(this);
    }
    void reset() {
        QWidget* w = c_->widget();
        base_ = placed_ = w->geometry();
        parentBase_ = parentPlaced_ = w->parentWidget()->size();
    }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == c_->widget()) {
            // Moved to another parent (a window's scroll area): kept at its
            // distances to that one's edges from now on.
            if (e->type() == QEvent::ParentChange && c_->widget()->parentWidget() != parent_) {
                if (parent_ != nullptr) parent_->removeEventFilter(this);
                parent_ = c_->widget()->parentWidget();
                if (parent_ != nullptr) parent_->installEventFilter(this);
            }
        } else if (e->type() == QEvent::Resize) {
            apply();
        }
        return false;
    }
    void apply() {
        QWidget* w = c_->widget();
        if (w->geometry() != placed_) {
            base_ = w->geometry();
            parentBase_ = parentPlaced_;
        }
        const QSize now = w->parentWidget()->size();
        const int dw = now.width() - parentBase_.width();
        const int dh = now.height() - parentBase_.height();
        int l = base_.left(), t = base_.top(), wd = base_.width(), ht = base_.height();
        const Anchors a = c_->anchors_;
        if ((a & akRight) && (a & akLeft)) wd += dw;
        else if (a & akRight) l += dw;
        if ((a & akBottom) && (a & akTop)) ht += dh;
        else if (a & akBottom) t += dh;
        w->setGeometry(l, t, std::max(0, wd), std::max(0, ht));
        placed_ = w->geometry();
        parentPlaced_ = now;
    }

private:
    Control* c_;
    QPointer<QWidget> parent_;
    QRect base_;           // the bounds the distances are taken from
    QSize parentBase_;     // the parent's size for those bounds
    QRect placed_;         // the bounds the keeper gave last
    QSize parentPlaced_;   // the parent's size then
};

Control::Control(QWidget* self) : self_(self) {}
Control::~Control() = default;

QString Control::name() const { return self_->objectName(); }

Form* Control::form() const { return dynamic_cast<Form*>(self_->window()); }

int Control::left() const { return self_->x(); }
int Control::top() const { return self_->y(); }
int Control::width() const { return self_->width(); }
int Control::height() const { return self_->height(); }
void Control::setLeft(int v) { self_->move(v, top()); }
void Control::setTop(int v) { self_->move(left(), v); }
void Control::setWidth(int v) { self_->resize(std::max(0, v), height()); }
void Control::setHeight(int v) { self_->resize(width(), std::max(0, v)); }
void Control::setBounds(int l, int t, int w, int h) {
    self_->setGeometry(l, t, std::max(0, w), std::max(0, h));
}
void Control::setPos(int l, int t) { self_->move(l, t); }
QRect Control::bounds() const { return self_->geometry(); }

// A control counts as visible when it is not hidden explicitly, whether or
// not its window is shown at the moment.
bool Control::visible() const { return !self_->isHidden(); }
void Control::setVisible(bool v) { self_->setVisible(v); }
bool Control::enabled() const { return self_->isEnabled(); }
void Control::setEnabled(bool v) { self_->setEnabled(v); }

void Control::setColor(const QColor& c) {
    QPalette p = self_->palette();
    p.setColor(self_->backgroundRole(), c);
    p.setColor(QPalette::Base, c);
    p.setColor(QPalette::Button, c);
    self_->setPalette(p);
    self_->setAutoFillBackground(true);
}
QColor Control::color() const { return self_->palette().color(self_->backgroundRole()); }

void Control::setFontColor(const QColor& c) {
    QPalette p = self_->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::WindowText, c);
        p.setColor(group, QPalette::Text, c);
        p.setColor(group, QPalette::ButtonText, c);
    }
    self_->setPalette(p);
}
QColor Control::fontColor() const { return self_->palette().color(QPalette::WindowText); }

void Control::setFontPx(int pixelSize, bool bold) { self_->setFont(windowFont(pixelSize, bold)); }
void Control::setBold(bool bold) {
    QFont f = self_->font();
    f.setBold(bold);
    self_->setFont(f);
}

void Control::setAnchors(Anchors a) {
    anchors_ = a;
    if (self_->parentWidget() != nullptr) {
        if (anchorKeeper_ == nullptr) anchorKeeper_ = new AnchorKeeper(this);
        anchorKeeper_->reset();
    }
}

bool Control::focused() const {
    QWidget* w = self_->window();
    return w != nullptr && w->focusWidget() == self_;
}
void Control::setFocus() { self_->setFocus(Qt::OtherFocusReason); }
void Control::setTabStop(bool on) {
    // Out of the Tab order; a click still focuses it.
    self_->setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
}
void Control::bringToFront() { self_->raise(); }
void Control::sendToBack() { self_->lower(); }

void Control::setMouseTracking(bool on) { self_->setMouseTracking(on); }

ShiftState shiftStateOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
    ShiftState s = 0;
    if (mods & Qt::ShiftModifier) s |= ssShift;
    if (mods & Qt::AltModifier) s |= ssAlt;
    if (mods & Qt::ControlModifier) s |= ssCtrl;
    if (buttons & Qt::LeftButton) s |= ssLeft;
    if (buttons & Qt::RightButton) s |= ssRight;
    if (buttons & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

namespace {
bool toButton(Qt::MouseButton b, MouseButton& out) {
    switch (b) {
    case Qt::LeftButton: out = MouseButton::Left; return true;
    case Qt::RightButton: out = MouseButton::Right; return true;
    case Qt::MiddleButton: out = MouseButton::Middle; return true;
    default: return false;
    }
}
}  // namespace

void Control::run(const Handler& h) {
    if (h) guarded(self_->window(), h);
}

bool Control::dispatchMouse(QEvent* e) {
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* me = static_cast<QMouseEvent*>(e);
        const QPoint p = me->position().toPoint();
        MouseButton b;
        if (!toButton(me->button(), b)) return false;
        ShiftState s = shiftStateOf(me->buttons(), me->modifiers());
        if (e->type() == QEvent::MouseButtonDblClick) {
            s |= ssDouble;
            if (me->button() == Qt::LeftButton && OnDblClick) run(OnDblClick);
        }
        if (me->button() == Qt::LeftButton) pressedLeft_ = e->type() == QEvent::MouseButtonPress;
        if (OnMouseDown) run([&] { OnMouseDown(b, s, p.x(), p.y()); });
        return OnMouseDown || OnDblClick || OnClick;
    }
    case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(e);
        const QPoint p = me->position().toPoint();
        if (OnMouseMove)
            run([&] { OnMouseMove(shiftStateOf(me->buttons(), me->modifiers()), p.x(), p.y()); });
        return bool(OnMouseMove);
    }
    case QEvent::MouseButtonRelease: {
        auto* me = static_cast<QMouseEvent*>(e);
        const QPoint p = me->position().toPoint();
        MouseButton b;
        if (!toButton(me->button(), b)) return false;
        // A click is a left press and release on the control.
        const bool click = me->button() == Qt::LeftButton && pressedLeft_ &&
                           self_->rect().contains(p);
        if (me->button() == Qt::LeftButton) pressedLeft_ = false;
        QPointer<QWidget> alive(self_);
        if (click && OnClick) run(OnClick);
        if (alive && OnMouseUp)
            run([&] { OnMouseUp(b, shiftStateOf(me->buttons(), me->modifiers()), p.x(), p.y()); });
        return OnMouseUp || OnClick || OnDblClick;
    }
    default:
        return false;
    }
}

}  // namespace tolvane::ui
