#include "ui/form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QThread>

#include "ui/colors.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/guard.h"

namespace tolvane::ui {

namespace {
ModalHook* modalHook = nullptr;
}

ModalHook* setModalHook(ModalHook* hook) {
    ModalHook* previous = modalHook;
    modalHook = hook;
    return previous;
}

void processMessages() { QApplication::processEvents(); }

void reactivate(QWidget* w) {
    if (w == nullptr) return;
    QWidget* window = w->window();
    if (!window->isVisible()) return;
    // While a modal window is up, it is the one that gets the activation.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != window && modal->isVisible()) window = modal;
    if (window->isActiveWindow()) return;
    window->activateWindow();
    QElapsedTimer waited;
    waited.start();
    while (!window->isActiveWindow() && waited.elapsed() < kReactivateWaitMs) {
        QApplication::sendPostedEvents();
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        if (!window->isActiveWindow()) QThread::msleep(2);
    }
}

Form::Form(Form* owner, const QString& name)
    : QWidget(owner, owner ? Qt::Dialog : Qt::Window), owner_(owner) {
    installFontSubstitutions();
    installClassicPalette();
    setPalette(classicPalette());
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFont(windowFont(12));
    // No default buttons, no layouts: controls sit where they are put.
}

Form::~Form() {
    if (loop_ != nullptr) loop_->exit(0);
}

void Form::setClientSize(int width, int height) { resize(width, height); }

void Form::setFixedClientSize(int width, int height) { setFixedSize(width, height); }

void Form::setMinClientSize(int width, int height) {
    setMinimumSize(width, height);
    resize(std::max(this->width(), width), std::max(this->height(), height));
}

void Form::setMaxClientSize(int width, int height) { setMaximumSize(width, height); }

void Form::setWidth(int w) {
    if (minimumWidth() == maximumWidth()) setFixedWidth(w);
    else {
        if (w < minimumWidth()) setMinimumWidth(w);
        resize(w, height());
    }
}

void Form::setHeight(int h) {
    if (minimumHeight() == maximumHeight()) setFixedHeight(h);
    else {
        if (h < minimumHeight()) setMinimumHeight(h);
        resize(width(), h);
    }
}

void Form::setColor(const QColor& c) {
    QPalette p = palette();
    p.setColor(QPalette::Window, c);
    setPalette(p);
    setAutoFillBackground(true);
}

QColor Form::color() const { return palette().color(QPalette::Window); }

void Form::setFontPx(int pixelSize, bool bold) { setFont(windowFont(pixelSize, bold)); }

Control* Form::findControlByName(const QString& name) const {
    for (QWidget* w : findChildren<QWidget*>(name))
        if (auto* c = dynamic_cast<Control*>(w)) return c;
    return nullptr;
}

QString controlText(const Form* form, const QString& name) {
    if (form == nullptr) return {};
    if (auto* e = form->findControl<Edit>(name)) return e->text();
    if (auto* l = form->findControl<Label>(name)) return l->caption();
    return {};
}

Control* Form::activeControl() const {
    QWidget* w = focusWidget();
    while (w != nullptr && w != this) {
        if (auto* c = dynamic_cast<Control*>(w)) return c;
        w = w->parentWidget();
    }
    return nullptr;
}

QPoint framePosition(const QSize& frame, const QRect& centre, const QRect& available) {
    QRect r(QPoint(0, 0), frame);
    r.moveCenter(centre.center());
    const auto inside = [](int pos, int size, int lo, int span) {
        return std::max(lo, std::min(pos, lo + span - size));
    };
    return QPoint(inside(r.left(), frame.width(), available.left(), available.width()),
                  inside(r.top(), frame.height(), available.top(), available.height()));
}

namespace {
// The frame's width on each side of the client area; nothing before the
// window manager has framed the window.
QMargins frameMargins(const QWidget& w) {
    const QRect f = w.frameGeometry(), g = w.geometry();
    return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(),
                    f.bottom() - g.bottom());
}
}  // namespace

void Form::place() {
    const bool byOwner = owner_ != nullptr && owner_->isVisible();
    QScreen* s = byOwner && owner_->screen() != nullptr ? owner_->screen() : screen();
    if (s == nullptr) return;
    const QRect available = s->availableGeometry();
    // A window just shown may not be framed yet: its owner's frame is the
    // same kind; without one, a title bar of the style's height is assumed.
    QMargins m = frameMargins(*this);
    if (m.isNull())
        m = byOwner ? frameMargins(*owner_)
                    : QMargins(0, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this), 0, 0);
    fitInto(available.size().shrunkBy(m));
    QRect centre = frameGeometry();   // as designed: where it is
    if (position_ == Position::OwnerCenter && byOwner)
        centre = owner_->frameGeometry();
    else if (position_ != Position::AsDesigned)
        centre = available;
    // The client area goes inside the frame's edges. (move() would place the
    // frame by the edges Qt knows of, none before the window is framed.)
    const QPoint frame = framePosition(size().grownBy(m), centre, available);
    setGeometry(QRect(frame + QPoint(m.left(), m.top()), size()));
}

void Form::fitInto(const QSize& room) {
    if (scroller_ != nullptr || room.isEmpty()) return;
    const bool fixed = minimumSize() == maximumSize();
    const QSize need = fixed ? size() : minimumSize();
    if (need.width() <= room.width() && need.height() <= room.height()) {
        // A resizable window larger than the room is made smaller.
        if (!fixed && (width() > room.width() || height() > room.height()))
            resize(size().boundedTo(room));
        return;
    }
    // The scroll bars take room of their own.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    bool across = need.width() > room.width(), down = need.height() > room.height();
    if (across && !down) down = need.height() + bar > room.height();
    if (down && !across) across = need.width() + bar > room.width();
    const QSize client = QSize(need.width() + (down ? bar : 0), need.height() + (across ? bar : 0))
                             .boundedTo(room);

    QWidget* focused = focusWidget();
    const QList<QWidget*> controls = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    scroller_ = new QScrollArea(this);
    scroller_->setObjectName(objectName() + QStringLiteral("_scroller"));
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setFocusPolicy(Qt::NoFocus);
    auto* content = new QWidget;
    content->setObjectName(objectName() + QStringLiteral("_client"));
    // In the window before the controls move in, so their keyboard order
    // stays as it was.
    scroller_->setWidget(content);
    scroller_->setWidgetResizable(!fixed);
    // The window's own background shows through.
    scroller_->viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);
    content->setMinimumSize(need);
    content->resize(fixed ? need : size().expandedTo(need));
    for (QWidget* w : controls) {
        if (w->isWindow() || w == scroller_) continue;
        const QRect g = w->geometry();
        const bool hidden = w->isHidden();
        w->setParent(content);   // on top of the ones moved before: the same order
        w->setGeometry(g);
        if (!hidden) w->show();
    }
    if (fixed) {
        setFixedSize(client);
    } else {
        setMinimumSize(minimumSize().boundedTo(client));
        resize(size().expandedTo(client).boundedTo(room));
    }
    scroller_->setGeometry(rect());
    scroller_->show();
    if (focused != nullptr) focused->setFocus();
}

void Form::openWindow() {
    open_ = true;
    if (owner_ != nullptr) setWindowModality(Qt::ApplicationModal);
    show();
    place();
    activateWindow();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) raise();
    guarded(this, OnShow);
}

void Form::showModal() {
    if (modalHook != nullptr) {
        modalHook->runModal(*this);
    } else {
        openWindow();
        if (open_) {   // not closed by its own show handler
            QEventLoop loop;
            loop_ = &loop;
            loop.exec(QEventLoop::DialogExec);
            loop_ = nullptr;
        }
    }
    // The opener's next line may move the focus: it must find its window active.
    reactivate(owner_);
}

void Form::showMain(bool quitOnClose) {
    quitOnClose_ = quitOnClose;
    openWindow();
}

void Form::closeEvent(QCloseEvent* e) {
    e->accept();
    const bool wasOpen = open_;
    open_ = false;
    if (loop_ != nullptr) loop_->exit(0);
    if (wasOpen && quitOnClose_) QCoreApplication::exit(0);
}

void Form::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (scroller_ != nullptr) scroller_->setGeometry(rect());
    guarded(this, OnResize);
}

int runMainForm(Form& mainForm) {
    mainForm.showMain(true);
    return QApplication::exec();
}

}  // namespace tolvane::ui
