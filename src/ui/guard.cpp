#include "ui/guard.h"

#include <QString>
#include <exception>

#include "ui/platform.h"

namespace tolvane::ui {

bool guarded(QWidget* owner, const std::function<void()>& fn) {
    if (!fn) return true;
    QString text;
    try {
        fn();
        return true;
    } catch (const std::exception& e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
        text = QStringLiteral("Unknown error");
    }
    platform().errorBox(owner, text);
    return false;
}

}  // namespace tolvane::ui
