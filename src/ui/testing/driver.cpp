#include "ui/testing/driver.h"

#include <cxxabi.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QCheckBox>
#include <QFontMetrics>
#include <QRadioButton>
#include <QRegularExpression>
#include <cmath>
#include <cstdlib>
#include <QHash>
#include <QRegion>

#include "ui/controls.h"

namespace tolvane::ui::testing {

namespace {
std::string str(const QString& s) { return s.toStdString(); }

void send(QWidget* w, QEvent* e) { QApplication::sendEvent(w, e); }

// Keys go where the keyboard is: a popup that is up (a dropped-down list)
// takes them before the widget the test names, as on a desktop.
void sendKeyboard(QWidget* w, QEvent* e) {
    if (QWidget* popup = QApplication::activePopupWidget())
        w = popup->focusWidget() != nullptr ? popup->focusWidget() : popup;
    send(w, e);
}

void sendMouse(QWidget* w, QEvent::Type type, Qt::MouseButton b, Qt::MouseButtons held, QPoint at,
               Qt::KeyboardModifiers mods) {
    const QPointF local(at);
    const QPointF global(w->mapToGlobal(at));
    QMouseEvent e(type, local, local, global, b, held, mods);
    send(w, &e);
}

QPoint centre(QWidget* w) { return QPoint(w->width() / 2, w->height() / 2); }

// A widget drawn alone, over its own background colour.
QImage drawn(const QWidget& w, QWidget::RenderFlags flags) {
    QImage img(w.size(), QImage::Format_RGB32);
    img.fill(w.palette().color(w.backgroundRole()));
    const_cast<QWidget&>(w).render(&img, QPoint(), QRegion(), flags);
    return img;
}

bool differs(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))}) > 12;
}

// Whether the text in `with` (its pixels that `without` lacks) lies inside
// `area` shrunk by `margin` and farther than `margin` from every line of
// `without` (its pixels unlike the area's commonest colour, its inside; any
// one point, the centre too, may fall on a line, as a short group's frame
// line does in some Qt versions). `enclosed`: each text pixel must also have
// such a line above, below, left and right of it (a frame whose place only
// its drawing shows).
bool standsClear(const QImage& with, const QImage& without, const QRect& area, int margin,
                 bool enclosed) {
    const QRect clear = area.adjusted(margin, margin, -margin, -margin);
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (without.valid(x, y)) ++counts[without.pixel(x, y)];
    QRgb inside = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            inside = it.key();
        }
    const auto line = [&](int u, int v) { return differs(without.pixel(u, v), inside); };
    const auto lineTowards = [&](int x, int y, int dx, int dy) {
        for (x += dx, y += dy; without.valid(x, y); x += dx, y += dy)
            if (line(x, y)) return true;
        return false;
    };
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x) {
            if (!differs(with.pixel(x, y), without.pixel(x, y))) continue;
            if (!clear.contains(x, y)) return false;
            for (int v = y - margin; v <= y + margin; ++v)
                for (int u = x - margin; u <= x + margin; ++u)
                    if (without.valid(u, v) && line(u, v)) return false;
            if (enclosed && !(lineTowards(x, y, 0, -1) && lineTowards(x, y, 0, 1) &&
                              lineTowards(x, y, -1, 0) && lineTowards(x, y, 1, 0)))
                return false;
        }
    return true;
}
}  // namespace

QStringList Driver::cutLabels(const QWidget& window) {
    QStringList cut;
    // The controls are no QObject classes of their own: findChildren<Label*>
    // would match every QLabel.
    for (const QLabel* q : window.findChildren<QLabel*>()) {
        const auto* l = dynamic_cast<const Label*>(q);
        if (l == nullptr || !l->autoSize() || l->isHidden()) continue;
        const QFontMetrics fm(l->font());
        int need = 0;
        for (const QString& line : l->caption().split(QRegularExpression(QStringLiteral("\\r\\n?|\\n"))))
            need = std::max(need, fm.horizontalAdvance(line));
        if (l->width() < need) cut << l->name();
    }
    return cut;
}

QStringList Driver::crowdedCaptions(const QWidget& window, int margin) {
    QStringList crowded;
    for (QFrame* q : window.findChildren<QFrame*>()) {
        auto* p = dynamic_cast<Panel*>(q);
        if (p == nullptr || p->caption().isEmpty() || !p->isVisibleTo(&window) || p->width() == 0 ||
            p->height() == 0)
            continue;
        // The caption's line box, not only its ink, inside the frame.
        const QFontMetrics fm(p->font());
        const QRect inner = p->contentsRect().adjusted(margin, margin, -margin, -margin);
        const QString caption = p->caption();
        if (fm.horizontalAdvance(caption) > inner.width() || fm.height() > inner.height()) {
            crowded << p->name();
            continue;
        }
        const QImage with = drawn(*p, QWidget::DrawWindowBackground);
        p->setCaption(QString());
        const QImage without = drawn(*p, QWidget::DrawWindowBackground);
        p->setCaption(caption);
        if (!standsClear(with, without, p->contentsRect(), margin, false)) crowded << p->name();
    }
    for (const QGroupBox* q : window.findChildren<QGroupBox*>()) {
        const auto* g = dynamic_cast<const RadioGroup*>(q);
        if (g == nullptr || g->items().isEmpty() || !g->isVisibleTo(&window) || g->width() == 0 ||
            g->height() == 0)
            continue;
        const QImage with = drawn(*g, QWidget::DrawWindowBackground | QWidget::DrawChildren);
        const QImage without = drawn(*g, QWidget::DrawWindowBackground);
        if (!standsClear(with, without, g->rect(), margin, true)) crowded << g->name();
    }
    return crowded;
}

QStringList Driver::labelsAcrossFrames(const QWidget& window, int margin) {
    QStringList across;
    for (const QLabel* q : window.findChildren<QLabel*>()) {
        const auto* l = dynamic_cast<const Label*>(q);
        if (l == nullptr || !l->isVisibleTo(&window) || l->width() == 0 || l->height() == 0) continue;
        // The ink: what the label draws over its background.
        const QImage img = drawn(*l, {});
        const QRgb back = l->palette().color(l->backgroundRole()).rgb();
        QRect ink;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (differs(img.pixel(x, y), back)) ink |= QRect(x, y, 1, 1);
        if (ink.isEmpty()) continue;
        ink.translate(l->pos());
        for (const QFrame* f : l->parentWidget()->findChildren<QFrame*>(Qt::FindDirectChildrenOnly)) {
            const auto* b = dynamic_cast<const Bevel*>(f);
            if (b == nullptr || b->isHidden() || !b->geometry().intersects(ink)) continue;
            const int clear = 2 + margin;
            if (!b->geometry().adjusted(clear, clear, -clear, -clear).contains(ink)) {
                across << l->name();
                break;
            }
        }
    }
    return across;
}

double Driver::contrast(QColor a, QColor b) {
    const auto luminance = [](QColor c) {
        const auto lin = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * lin(c.redF()) + 0.7152 * lin(c.greenF()) + 0.0722 * lin(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QStringList Driver::faintTexts(QWidget& window, double minContrast) {
    QStringList faint;
    const auto inked = [&window](QWidget* w, QColor ink) {
        const QPalette before = w->palette();
        const bool own = w->testAttribute(Qt::WA_SetPalette);
        QPalette p = before;
        for (auto g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            for (auto r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                           QPalette::HighlightedText, QPalette::PlaceholderText})
                p.setColor(g, r, ink);
        w->setPalette(p);
        const QImage img = window.grab(QRect(w->mapTo(&window, QPoint(0, 0)), w->size())).toImage();
        w->setPalette(own ? before : QPalette());
        if (!own) w->setAttribute(Qt::WA_SetPalette, false);
        return img.convertToFormat(QImage::Format_RGB32);
    };
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window) || w->width() <= 0 || w->height() <= 0 ||
            dynamic_cast<Control*>(w) == nullptr)
            continue;
        const QRect area(w->mapTo(&window, QPoint(0, 0)), w->size());
        const QImage shown = window.grab(area).toImage().convertToFormat(QImage::Format_RGB32);
        const QImage magenta = inked(w, QColor(255, 0, 255));
        const QImage green = inked(w, QColor(0, 255, 0));
        if (shown.size() != magenta.size() || shown.size() != green.size()) continue;
        // The control's own pixels: not those of its controls.
        QRegion own(w->rect());
        for (QWidget* c : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (c->isVisibleTo(w) && dynamic_cast<Control*>(c) != nullptr) own -= c->geometry();
        std::vector<QPoint> ink;
        QRect inkBox;
        QHash<QRgb, int> beside;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                if (!own.contains(QPoint(x, y))) continue;
                const QRgb m = magenta.pixel(x, y), g = green.pixel(x, y);
                if (std::abs(qRed(m) - qRed(g)) > 200 && std::abs(qGreen(m) - qGreen(g)) > 200) {
                    ink.emplace_back(x, y);
                    inkBox |= QRect(x, y, 1, 1);
                }
            }
        if (ink.empty()) continue;
        const QRect near = inkBox.adjusted(-3, -3, 3, 3).intersected(shown.rect());
        for (int y = near.top(); y <= near.bottom(); ++y)
            for (int x = near.left(); x <= near.right(); ++x)
                if (own.contains(QPoint(x, y)) && !differs(magenta.pixel(x, y), green.pixel(x, y)))
                    ++beside[shown.pixel(x, y)];
        if (beside.isEmpty()) continue;
        QRgb back = beside.begin().key();
        for (auto it = beside.begin(); it != beside.end(); ++it)
            if (it.value() > beside.value(back)) back = it.key();
        double best = 1.0;
        for (const QPoint& p : ink) best = std::max(best, contrast(QColor(shown.pixel(p)), QColor(back)));
        if (best < minContrast) faint << w->objectName() + QLatin1Char(' ') + QString::number(best, 'f', 1);
    }
    return faint;
}

QString Driver::demangled(const char* name) {
    int status = 0;
    char* d = abi::__cxa_demangle(name, nullptr, nullptr, &status);
    QString r = QString::fromLatin1(status == 0 && d ? d : name);
    std::free(d);
    const int colon = r.lastIndexOf(QStringLiteral("::"));
    return colon >= 0 ? r.mid(colon + 2) : r;
}

Driver::Driver(Boxes boxes) {
    platform_.onUnscripted = [this](const QString& what) { unscripted(what); };
    if (boxes == Boxes::Real) {
        platform_.realBoxes = true;
        platform_.answerBox = [this](QMessageBox& box) { answer(box); };
    }
    previousPlatform_ = setPlatform(&platform_);
    previousHook_ = setModalHook(this);
}

Driver::~Driver() {
    setModalHook(previousHook_);
    setPlatform(previousPlatform_);
    for (const auto& s : scripts_)
        ADD_FAILURE() << "the modal window " << str(s.what) << " was expected but never shown";
    for (const auto& b : platform_.boxes)
        ADD_FAILURE() << (b.kind == ShownBox::Kind::Error ? "error box" : "message box")
                      << " not read by the test: \"" << str(b.text) << "\"";
    if (!platform_.pictureFileAnswers.empty())
        ADD_FAILURE() << platform_.pictureFileAnswers.size()
                      << " picture-open answer(s) scripted but not used";
    if (!platform_.programs.empty())
        ADD_FAILURE() << platform_.programs.size() << " program(s) scripted but never started";
}

void Driver::unscripted(const QString& what) { ADD_FAILURE() << "unscripted: " << str(what); }

void Driver::answer(QMessageBox& box) {
    // A person reads the box once it is in front, then presses OK.
    if (!waitActive(&box))
        ADD_FAILURE() << "the box \"" << str(box.text()) << "\" never became the active window";
    ++answeredBoxes_;
    if (boxHook_) boxHook_(box);
    if (QAbstractButton* ok = box.button(QMessageBox::Ok)) click(ok);
    if (box.isVisible()) {
        ADD_FAILURE() << "the box \"" << str(box.text()) << "\" did not close on OK";
        box.done(QMessageBox::Ok);
    }
}

void Driver::queue(QString what, std::function<bool(Form&)> matches,
                   std::function<void(Form&)> run) {
    scripts_.push_back({std::move(what), std::move(matches), std::move(run)});
}

void Driver::expectModal(const QString& formName, std::function<void(Form&)> script) {
    queue(formName, [formName](Form& f) { return f.name() == formName; }, std::move(script));
}

void Driver::runModal(Form& f) {
    const QString cls = demangled(typeid(f).name());
    shown_ << f.name();
    if (scripts_.empty()) {
        ADD_FAILURE() << "unscripted modal window " << str(cls) << " \"" << str(f.name())
                      << "\" (not shown)";
        return;
    }
    Script s = std::move(scripts_.front());
    scripts_.pop_front();
    if (!s.matches(f)) {
        ADD_FAILURE() << "the next modal window was " << str(cls) << " \"" << str(f.name())
                      << "\", the script expected " << str(s.what) << " (not shown)";
        return;
    }
    f.openWindow();
    if (f.isOpen()) waitActive(&f);
    s.run(f);
    if (f.isOpen()) {
        ADD_FAILURE() << "the script for " << str(cls) << " left it open; closed by the title bar";
        f.close();
    }
    // Giving the owner its activation back is the window layer's part.
}

void Driver::show(Form& f) {
    f.showMain(false);
    waitActive(&f);
}

std::vector<ShownBox> Driver::takeBoxes() {
    std::vector<ShownBox> r;
    r.swap(platform_.boxes);
    return r;
}

QStringList Driver::takeMessages() {
    QStringList r;
    for (const auto& b : takeBoxes()) {
        if (b.kind == ShownBox::Kind::Error)
            ADD_FAILURE() << "an error box where a message box was expected: \"" << str(b.text)
                          << "\"";
        r << b.text;
    }
    return r;
}

QStringList Driver::takeErrors() {
    QStringList r;
    for (const auto& b : takeBoxes()) {
        if (b.kind == ShownBox::Kind::Message)
            ADD_FAILURE() << "a message box where an error box was expected: \"" << str(b.text)
                          << "\"";
        r << b.text;
    }
    return r;
}

void Driver::processEvents() {
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

bool Driver::waitActive(QWidget* window) {
    window = window->window();
    if (!window->isVisible()) return false;
    window->activateWindow();
    QElapsedTimer t;
    t.start();
    while (QApplication::activeWindow() != window && t.elapsed() < 5000) processEvents();
    processEvents();
    return QApplication::activeWindow() == window;
}

void Driver::type(QWidget* w, const QString& text) {
    for (QChar c : text) {
        const QString s(c);
        Qt::Key key = Qt::Key_unknown;
        if (c.unicode() < 0x80 && c.isLetterOrNumber()) key = Qt::Key(c.toUpper().unicode());
        else if (c == QLatin1Char(' ')) key = Qt::Key_Space;
        else if (c == QLatin1Char('.')) key = Qt::Key_Period;
        else if (c == QLatin1Char('/')) key = Qt::Key_Slash;
        else if (c == QLatin1Char(':')) key = Qt::Key_Colon;
        else if (c == QLatin1Char('-')) key = Qt::Key_Minus;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, s);
        sendKeyboard(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, s);
        sendKeyboard(w, &release);
    }
}

void Driver::typeIme(QWidget* w, const QString& text) {
    QInputMethodEvent e;
    e.setCommitString(text);
    sendKeyboard(w, &e);
}

void Driver::pressKey(QWidget* w, Qt::Key key, const QString& text, Qt::KeyboardModifiers mods) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    sendKeyboard(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    sendKeyboard(w, &release);
}

void Driver::pressEnter(QWidget* w) { pressKey(w, Qt::Key_Return, QStringLiteral("\r")); }

void Driver::focus(QWidget* w, Qt::FocusReason reason) {
    waitActive(w);
    w->setFocus(reason);
    processEvents();
}

void Driver::click(QWidget* w) {
    // Check boxes and radio buttons take clicks on their box and caption only.
    if (qobject_cast<QRadioButton*>(w) != nullptr || qobject_cast<QCheckBox*>(w) != nullptr)
        click(w, QPoint(8, w->height() / 2));
    else
        click(w, centre(w));
}

void Driver::click(QWidget* w, QPoint at) {
    if (!w->isEnabled() || !w->isVisible()) return;   // a user cannot click it either
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        // Through the button's own press and release, so a click that
        // closes the window or opens a modal one behaves as a user's.
        sendMouse(b, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, at, {});
        sendMouse(b, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at, {});
        return;
    }
    sendMouse(w, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, at, {});
    sendMouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at, {});
}

void Driver::dblClick(QWidget* w) { dblClick(w, centre(w)); }

void Driver::dblClick(QWidget* w, QPoint at) {
    if (!w->isEnabled() || !w->isVisible()) return;
    QWidget* target = w;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) {
        target = area->viewport();   // the visible part of lists and memos takes the mouse
        at = target->mapFrom(w, at);
    }
    sendMouse(target, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, at, {});
    sendMouse(target, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at, {});
    sendMouse(target, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, at, {});
    sendMouse(target, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at, {});
}

void Driver::mouseDown(QWidget* w, Qt::MouseButton b, QPoint at, Qt::KeyboardModifiers mods) {
    sendMouse(w, QEvent::MouseButtonPress, b, b, at, mods);
}

void Driver::mouseMove(QWidget* w, QPoint at, Qt::MouseButtons held, Qt::KeyboardModifiers mods) {
    sendMouse(w, QEvent::MouseMove, Qt::NoButton, held, at, mods);
}

void Driver::mouseUp(QWidget* w, Qt::MouseButton b, QPoint at, Qt::KeyboardModifiers mods) {
    sendMouse(w, QEvent::MouseButtonRelease, b, Qt::NoButton, at, mods);
}

void Driver::chooseRadio(RadioGroup* g, int index) {
    if (QRadioButton* b = g->button(index)) click(b);
    else ADD_FAILURE() << "radio group " << str(g->name()) << " has no item " << index;
}

void Driver::closeByTitleBar(Form& f) { f.close(); }

}  // namespace tolvane::ui::testing
