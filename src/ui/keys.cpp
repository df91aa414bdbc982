#include "ui/keys.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QInputMethod>
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

namespace {
qint64 nowMs() {
    static QElapsedTimer clock;
    if (!clock.isValid()) clock.start();
    return clock.elapsed();
}

// The text committed into a box as the focus left it, and when; empty when
// there is none or a new composition began since. One for the program, not
// one a box: the box the focus goes to, whose Composition reads it, may be
// any box of any window.
struct LeftCommit {
    QString text;
    qint64 at = 0;
};
LeftCommit commitAsFocusLeft;

// A commit that ended a composition at most this long before the box lost
// the focus is taken for the one Qt has the input context make as the focus
// moves (the same pass of the event loop; 100 ms leaves room for a loaded
// machine). A commit the user made with Enter is older than that by the
// time a click or Tab moves on.
constexpr qint64 kFocusCommitMs = 100;
// The input method's own second commit comes over its connection to the
// program right after the focus change. Within a second it is taken for that
// one; later, the same word is taken as typed again on purpose, which takes a
// person longer than that.
constexpr qint64 kSecondCommitMs = 1000;
}  // namespace

bool Composition::admit(const QInputMethodEvent* e) {
    if (composing_ || commitAsFocusLeft.text.isEmpty() || !e->preeditString().isEmpty() ||
        e->replacementLength() != 0 || e->commitString() != commitAsFocusLeft.text ||
        nowMs() - commitAsFocusLeft.at > kSecondCommitMs)
        return true;
    commitAsFocusLeft.text.clear();
    return false;
}

bool Composition::follow(const QInputMethodEvent* e) {
    const bool abandoned = composing_ && e->preeditString().isEmpty() &&
                           e->commitString().isEmpty() && e->replacementLength() == 0;
    if (composing_ && !e->commitString().isEmpty()) {
        committed_ = e->commitString();
        committedAt_ = nowMs();
    } else {
        committed_.clear();
    }
    composing_ = !e->preeditString().isEmpty();
    if (composing_) commitAsFocusLeft.text.clear();
    if (abandoned) QGuiApplication::inputMethod()->reset();
    return abandoned;
}

void Composition::focusLeft() {
    if (!committed_.isEmpty() && nowMs() - committedAt_ <= kFocusCommitMs)
        commitAsFocusLeft = {committed_, nowMs()};
    committed_.clear();
}

bool isEntering(const QFocusEvent* e) {
    switch (e->reason()) {
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason: return false;
    default: return true;
    }
}

}  // namespace tolvane::ui::detail
