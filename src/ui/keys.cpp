#include "ui/keys.h"

#include <QWidget>

#include "ui/guard.h"

namespace tolvane::ui::detail {

QString typedChars(const QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return QString(QChar(13));
    case Qt::Key_Backspace: return QString(QChar(8));
    case Qt::Key_Escape: return QString(QChar(27));
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return QString();
    default: break;
    }
    if (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return QString();
    const QString t = e->text();
    for (QChar c : t)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) return QString();
    return t;
}

namespace {
QString filter(QWidget* w, const QString& in, const KeyPressHandler& h) {
    QString out;
    for (QChar c : in) {
        QChar key = c;
        if (!guarded(w->window(), [&] { h(key); })) key = QChar(0);
        if (key != QChar(0)) out += key;
    }
    return out;
}
}  // namespace

KeyVerdict previewKey(QWidget* w, QKeyEvent* e, const KeyPressHandler& h) {
    KeyVerdict v;
    if (!h || e->type() != QEvent::KeyPress) return v;
    const QString in = typedChars(e);
    if (in.isEmpty()) return v;
    const QString out = filter(w, in, h);
    if (out == in) return v;
    v.pass = false;
    if (out.isEmpty()) return v;
    Qt::Key key = Qt::Key_unknown;
    if (out == QString(QChar(13))) key = Qt::Key_Return;
    else if (out == QString(QChar(8))) key = Qt::Key_Backspace;
    else if (out == QString(QChar(27))) key = Qt::Key_Escape;
    v.event = std::make_unique<QKeyEvent>(QEvent::KeyPress, key, e->modifiers(), out);
    return v;
}

bool previewInputMethod(QWidget* w, QInputMethodEvent* e, const KeyPressHandler& h,
                        std::unique_ptr<QInputMethodEvent>& out) {
    if (!h || e->commitString().isEmpty()) return false;
    const QString filtered = filter(w, e->commitString(), h);
    if (filtered == e->commitString()) return false;
    if (filtered.isEmpty() && e->preeditString().isEmpty() && e->replacementLength() == 0) {
        out.reset();
        return true;
    }
    out = std::make_unique<QInputMethodEvent>(e->preeditString(), e->attributes());
    out->setCommitString(filtered, e->replacementStart(), e->replacementLength());
    return true;
}

bool isEntering(const QFocusEvent* e) {
    switch (e->reason()) {
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason: return false;
    default: return true;
    }
}

}  // namespace tolvane::ui::detail
