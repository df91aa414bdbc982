// What every control of a window has: a name, a tag, geometry in its parent's
// client pixels, colours, font, anchors, focus, and the mouse events the
// windows bind handlers to. Handlers are std::function members named after
// the event (OnClick, OnDblClick, ...); every one of them runs under the
// error guard (guard.h), so an exception ends that handler only.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <functional>

class QEvent;
class QWidget;

namespace tolvane::ui {

class Form;
class AnchorKeeper;

// Mouse buttons and the keys and buttons held during a mouse event.
enum class MouseButton { Left, Right, Middle };
enum ShiftFlag : unsigned {
    ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64
};
using ShiftState = unsigned;   // an OR of ShiftFlag values

// Sides of its parent a control keeps its distance to when the parent is resized.
enum Anchor : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using Anchors = unsigned;

using Handler = std::function<void()>;
using MouseHandler = std::function<void(MouseButton, ShiftState, int x, int y)>;
using MouseMoveHandler = std::function<void(ShiftState, int x, int y)>;
// A typed character (13 Enter, 8 backspace, 27 escape): setting it to 0
// drops it (the control neither types it nor acts on it); setting another
// character types that one instead.
using KeyPressHandler = std::function<void(QChar& key)>;

class Control {
public:
    explicit Control(QWidget* self);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    QWidget* widget() const { return self_; }
    QString name() const;
    // The window the control is on.
    Form* form() const;

    int Tag = 0;

    // Geometry in the client pixels of the parent (form or panel). Negative
    // sizes are held as 0: such a control is not seen.
    int left() const;
    int top() const;
    int width() const;
    int height() const;
    void setLeft(int v);
    void setTop(int v);
    void setWidth(int v);
    void setHeight(int v);
    void setBounds(int left, int top, int width, int height);
    void setPos(int left, int top);
    QRect bounds() const;

    bool visible() const;
    void setVisible(bool v);
    bool enabled() const;
    void setEnabled(bool v);

    // Background colour of the control (panels, edits); text colour.
    void setColor(const QColor& c);
    QColor color() const;
    void setFontColor(const QColor& c);
    QColor fontColor() const;
    // The window font family at `pixelSize` pixels, bold or not.
    void setFontPx(int pixelSize, bool bold = false);
    void setBold(bool bold);

    // Anchors are measured against the parent's size at the moment they are
    // set: set the form's size (and the panel's bounds) first. A control
    // moved or sized later (a label sized to a new caption) keeps its new
    // bounds and is anchored from there.
    void setAnchors(Anchors a);
    Anchors anchors() const { return anchors_; }

    // Keyboard focus. focused() is true when the control is its window's
    // focus control, also while a modal window opened from it is in front.
    bool focused() const;
    void setFocus();
    void setTabStop(bool on);
    void bringToFront();
    void sendToBack();

    Handler OnClick;
    Handler OnDblClick;
    MouseHandler OnMouseDown;
    MouseMoveHandler OnMouseMove;
    MouseHandler OnMouseUp;

    // Mouse moves with no button held reach OnMouseMove only with tracking
    // on (images and shapes turn it on).
    void setMouseTracking(bool on);

protected:
    // For controls that take OnClick/OnDblClick/OnMouse* from raw mouse
    // events (labels, panels, images, shapes). Returns true when handled.
    bool dispatchMouse(QEvent* e);
    // Runs `h` under the error guard.
    void run(const Handler& h);

private:
    friend class AnchorKeeper;
    QWidget* self_;
    Anchors anchors_ = akLeft | akTop;
    bool pressedLeft_ = false;
    AnchorKeeper* anchorKeeper_ = nullptr;
};

// Inside each control class: the names both QWidget and Control have are
// taken from Control (same meaning, one answer).
#define TOLVANE_CONTROL_NAMES        \
    using Control::width;            \
    using Control::height;           \
    using Control::setFocus;         \
    using Control::setVisible;       \
    using Control::setEnabled;       \
    using Control::setMouseTracking;

// The state of the buttons and keys of a Qt mouse event, as handlers see it.
ShiftState shiftStateOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);

}  // namespace tolvane::ui
