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

// Passes each typed character of `e` through `h`. Returns nullptr when the
// event is to be handled as it is, or a replacement event (possibly with an
// empty text: then it is dropped entirely).
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

// Focus received in a way that counts as entering the control: by Tab, a
// click, the program, a shortcut; not the focus that comes back when the
// window is activated again (after a modal window closes).
bool isEntering(const QFocusEvent* e);

}  // namespace tolvane::ui::detail
