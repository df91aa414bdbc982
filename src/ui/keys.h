// Key-press handlers seeing typed characters before the control types them.
// Internal to the window layer.
#pragma once

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <memory>

#include "ui/control.h"

class QWidget;

namespace tolvane::ui::detail {

// The characters a key event types, as key-press handlers see them: Enter
// as 13, backspace 8, escape 27, printable text as it is; empty for keys
// that type nothing (arrows, Tab, function keys, Ctrl and Alt chords).
QString typedChars(const QKeyEvent* e);

// Passes each typed character of `e` through `h` and returns the verdict:
// `pass` when the handler left them all as they were (handle `e`); else the
// replacement event carrying what it made of them, or null when it swallowed
// every one (then the key is dropped).
struct KeyVerdict {
    bool pass = true;                  // handle `e` unchanged
    std::unique_ptr<QKeyEvent> event;  // otherwise this, or nothing when null
};
KeyVerdict previewKey(QWidget* w, QKeyEvent* e, const KeyPressHandler& h);

// The same for text committed by the input method. Returns false when `e`
// passes unchanged; otherwise `out` holds the event to handle instead (null:
// nothing is left to handle).
bool previewInputMethod(QWidget* w, QInputMethodEvent* e, const KeyPressHandler& h,
                        std::unique_ptr<QInputMethodEvent>& out);

// Follows the composition of one box through its input-method events. Each
// box has its own; what they share, one for the whole program, is the text
// committed as the focus last left a box (the second commit below), read by
// whichever box of whichever window took the focus.
//
// An event that empties the preedit without committing anything, after a
// preedit was shown, ends an abandoned composition (Escape, or the preedit
// backspaced away): the platform's input context is then reset, so that the
// copy of the preedit some input contexts keep is not committed at the next
// focus change.
//
// When the focus leaves a box in the middle of a composition, Qt has the
// input context commit the preedit into the box it was typed in; some input
// methods then commit the same composition once more, into the box that
// took the focus, which may be in another window. That second commit is
// dropped: a commit of exactly the text committed as the focus left another
// box, arriving within a second at a box with no composition of its own and
// before any new composition began.
class Composition {
public:
    // Before the box handles `e`: false when it is to be dropped.
    bool admit(const QInputMethodEvent* e);
    // After the box has handled `e`. True when it ended an abandoned
    // composition (the context has been reset).
    bool follow(const QInputMethodEvent* e);
    // The box lost the focus.
    void focusLeft();
    bool composing() const { return composing_; }

private:
    bool composing_ = false;
    QString committed_;        // a composition's commit, while it is the last event
    qint64 committedAt_ = 0;   // when (ms, monotonic)
};

// Hands an input-method event to a box's own handling (`base`, called with
// the event to handle): the box's composition may drop it, and the box's
// key handler may change or swallow the committed text.
template <class Base>
void deliverInputMethod(QWidget* w, QInputMethodEvent* e, const KeyPressHandler& h, Composition& c,
                        Base base) {
    if (!c.admit(e)) {
        e->accept();
        return;
    }
    std::unique_ptr<QInputMethodEvent> other;
    if (!previewInputMethod(w, e, h, other)) base(e);
    else if (other) base(other.get());
    else e->accept();
    c.follow(e);
}

// Focus received in a way that counts as entering the control: by Tab, a
// click, the program, a shortcut; not the focus that comes back when the
// window is activated again (after a modal window closes).
bool isEntering(const QFocusEvent* e);

}  // namespace tolvane::ui::detail
