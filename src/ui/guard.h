// The error guard: every handler of a window runs through it. An exception
// that escapes the handler ends it there and is shown in the error box (stop
// icon, OK, the program's name as title, the error's own text with a full stop
// added when it has none); the window stays as the handler left it.
#pragma once

#include <functional>

class QWidget;

namespace tolvane::ui {

// Runs `fn`; returns false when it ended with an exception (already shown).
bool guarded(QWidget* owner, const std::function<void()>& fn);

}  // namespace tolvane::ui
