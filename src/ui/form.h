// A window of the program. Every window is a Form subclass whose controls are
// members named as the window's description names them, created in the
// constructor with their geometry, and whose handlers are member functions
// bound to the controls' On... members:
//
//     class TPassF : public tolvane::ui::Form {
//     public:
//         explicit TPassF(Form* owner) : Form(owner, "PassF") {
//             setCaption("ないしょ");
//             setFixedClientSize(400, 400);
//             setPosition(Position::OwnerCenter);
//             setFontPx(15);
//             Btn_NO = new Button(this, "Btn_NO", "戻　　る", 300, 8, 75, 25);
//             Btn_NO->OnClick = [this] { Btn_NOClick(); };
//             OnShow = [this] { FormShow(); };
//         }
//         Button* Btn_NO;
//         void FormShow();
//         void Btn_NOClick() { close(); }
//     };
//
// The opener shows it through its window variable:
//     TPassF* PassF = nullptr;                  // beside the window's class
//     tolvane::ui::openModal(PassF, this);      // creates, shows modally, frees, clears
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include "ui/control.h"

class QEventLoop;
class QScrollArea;

namespace tolvane::ui {

class Form : public QWidget {
public:
    // `owner` is the window that opens this one (nullptr for the main
    // window); `name` the name of the window's variable, e.g. "FishdataF".
    Form(Form* owner, const QString& name);
    ~Form() override;

    QString name() const { return objectName(); }
    Form* owner() const { return owner_; }

    void setCaption(const QString& caption) { setWindowTitle(caption); }
    QString caption() const { return windowTitle(); }

    // Sizes are of the client area, in pixels.
    void setClientSize(int width, int height);
    void setFixedClientSize(int width, int height);   // minimum = maximum
    void setMinClientSize(int width, int height);
    void setMaxClientSize(int width, int height);
    void setWidth(int width);     // a window that is not resizable grows with it
    void setHeight(int height);

    // Where the window opens. Whatever the position, the whole frame opens
    // inside the available area of the screen (the screen less its panels),
    // title bar included: a window that would reach past an edge is moved
    // back inside.
    enum class Position { AsDesigned, ScreenCenter, OwnerCenter };
    void setPosition(Position p) { position_ = p; }

    // A window larger than the available area (its minimum size, for a
    // resizable one) opens as large as the area allows, its controls in a
    // scroll area of that size with the window's size as designed, so every
    // one of them can be scrolled to. Controls keep their positions in the
    // window's client pixels; scrolled() tells whether it happened.
    bool scrolled() const { return scroller_ != nullptr; }

    // Background colour; the window font (ＭＳ Ｐゴシック) in pixels.
    void setColor(const QColor& c);
    QColor color() const;
    void setFontPx(int pixelSize, bool bold = false);

    // Run when the window is shown (each time); an error in it is shown in
    // the error box and the window is shown all the same.
    Handler OnShow;
    // Run on every change of the window's size, also the first layout.
    Handler OnResize;

    // Shows the window modally and returns when it has closed and its owner
    // is the active window again. Goes through the modal hook, so a test can
    // answer the window instead.
    void showModal();
    // Shows the window as the program's main window (not modal). With
    // `quitOnClose`, closing it ends the event loop of the program.
    void showMain(bool quitOnClose = false);

    // True from the showing until the window is closed (by one of its own
    // buttons calling close(), or by the title-bar close box; neither path
    // runs any handler of the window).
    bool isOpen() const { return open_; }

    // The control of this window named `name` (a control anywhere on it).
    template <class T = Control>
    T* findControl(const QString& name) const {
        return dynamic_cast<T*>(findControlByName(name));
    }
    Control* findControlByName(const QString& name) const;
    // The control that has the window's keyboard focus, or nullptr.
    Control* activeControl() const;

    // The steps of a modal showing, for the modal hooks: show the window,
    // place it and run OnShow.
    void openWindow();

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void place();
    // Puts the controls in a scroll area when the client area cannot have
    // its size (or minimum size) within `room`.
    void fitInto(const QSize& room);

    Form* owner_;
    Position position_ = Position::AsDesigned;
    bool open_ = false;
    bool quitOnClose_ = false;
    QEventLoop* loop_ = nullptr;
    QScrollArea* scroller_ = nullptr;
};

// Where a window's frame of `frame` size goes: centred on `centre`, then
// moved as little as it takes to lie inside `available`; a frame wider or
// taller than `available` starts at its left or top edge.
QPoint framePosition(const QSize& frame, const QRect& centre, const QRect& available);

// Who runs modal windows: the program's own loop unless a test installed a
// hook (the test driver). setModalHook returns the hook it replaces.
class ModalHook {
public:
    virtual ~ModalHook() = default;
    virtual void runModal(Form& f) = 0;
};
ModalHook* setModalHook(ModalHook* hook);

// The modal chain: creates a T with `owner` as its owner, sets the window
// variable, shows the window modally, frees it and clears the variable when
// it has closed (also when something goes wrong on the way).
template <class T, class... Args>
void openModal(T*& var, Form* owner, Args&&... args) {
    var = new T(owner, std::forward<Args>(args)...);
    struct Free {
        T*& v;
        ~Free() {
            delete v;
            v = nullptr;
        }
    } free{var};
    var->showModal();
}

// The text of `form`'s edit box or the caption of its label `name`; an empty
// text without the form or such a control.
QString controlText(const Form* form, const QString& name);

// Lets pending window events run (repaints, input) and returns.
void processMessages();

// Makes the window of `w` the active window again after a modal window or box
// over it has closed, and returns when the activation has arrived (at most
// kReactivateWaitMs). Until then a window manager may still hold it back, and
// a focus move made meanwhile arrives later as a window-activation focus, which
// runs no OnEnter. Nothing happens for a hidden window or an active one.
// While a modal window is shown, that one is made active instead.
// showModal() and the platform's boxes call it for their owner.
inline constexpr int kReactivateWaitMs = 2000;
void reactivate(QWidget* w);

// Runs the program: shows `mainForm` as the main window and runs the event
// loop until it closes. Returns the loop's exit code.
int runMainForm(Form& mainForm);

}  // namespace tolvane::ui
