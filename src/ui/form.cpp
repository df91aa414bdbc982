#include "ui/form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScreen>
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

void Form::place() {
    QRect target;
    if (position_ == Position::OwnerCenter && owner_ != nullptr && owner_->isVisible())
        target = owner_->frameGeometry();
    else if (position_ != Position::AsDesigned && screen() != nullptr)
        target = screen()->availableGeometry();
    else
        return;
    // move() places the frame: centre the frame, not the client area.
    QRect frame = frameGeometry();
    frame.moveCenter(target.center());
    move(frame.topLeft());
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
    guarded(this, OnResize);
}

int runMainForm(Form& mainForm) {
    mainForm.showMain(true);
    return QApplication::exec();
}

}  // namespace tolvane::ui
