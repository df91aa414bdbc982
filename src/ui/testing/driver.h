// The test driver: runs windows headless and deterministically. While a
// Driver exists, every modal window is answered by the next script the test
// queued (matched by the window's class or name) and every message and error
// box is recorded for the test to read. A modal window with no script, a box
// the test never read, or a script never used fails the test: nothing waits
// for a user.
//
//     Driver drv;
//     drv.expectModal<TPassF>([&](TPassF& f) {
//         drv.chooseRadio(f.RadioGroup2, 0);
//         drv.click(f.Btn_Fune);
//         EXPECT_EQ(drv.takeMessages(), QStringList{"変更しました"});
//         drv.click(f.Btn_NO);                  // or drv.closeByTitleBar(f)
//     });
//     drv.dblClick(mainF.Label6);               // opens the dialog; returns when it closed
//
// Boxes are recorded without a window by default. `Driver drv(Driver::Boxes::Real)`
// shows each one as the program does, a modal window that takes the activation
// from its owner; the driver waits until the box is active, runs the hook set
// with whileBoxShown(), presses OK, and the box returns once its owner is
// active again. The test reads the texts with takeMessages() as usual.
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <typeinfo>
#include <vector>

#include "ui/control.h"
#include "ui/form.h"
#include "ui/testing/test_platform.h"

class QAbstractButton;
class QMessageBox;

namespace tolvane::ui {
class RadioGroup;
}

namespace tolvane::ui::testing {

class Driver : public ModalHook {
public:
    enum class Boxes { Recorded, Real };
    explicit Driver(Boxes boxes = Boxes::Recorded);
    ~Driver() override;
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    TestPlatform& platform() { return platform_; }

    // --- modal windows ------------------------------------------------------
    // Queues a script for the next modal window, which must be a T. The
    // script runs once the window is shown and its show handler has run; it
    // must leave the window closed.
    template <class T, class F>
    void expectModal(F&& script) {
        queue(demangled(typeid(T).name()),
              [](Form& f) { return dynamic_cast<T*>(&f) != nullptr; },
              [s = std::function<void(T&)>(std::forward<F>(script))](Form& f) {
                  s(dynamic_cast<T&>(f));
              });
    }
    // The same, matched by the window's name ("PassF").
    void expectModal(const QString& formName, std::function<void(Form&)> script);
    // Scripts queued and not yet used.
    int pendingScripts() const { return static_cast<int>(scripts_.size()); }
    // Names of the modal windows shown so far, in order.
    QStringList shownWindows() const { return shown_; }

    // Shows `f` as the main window (closing it does not end anything) and
    // waits until it is active.
    void show(Form& f);

    // --- boxes --------------------------------------------------------------
    // Real boxes: runs `hook` in every box while it is shown, before OK.
    void whileBoxShown(std::function<void(QMessageBox&)> hook) { boxHook_ = std::move(hook); }
    // Real boxes: how many were answered.
    int answeredBoxes() const { return answeredBoxes_; }
    std::vector<ShownBox> takeBoxes();
    // Texts of the boxes shown since the last take; an error box among them
    // fails the test (takeErrors() for those), and the reverse.
    QStringList takeMessages();
    QStringList takeErrors();

    // --- input --------------------------------------------------------------
    // Types `text` into `w` key by key (any script, Japanese included), as
    // key presses the control's key handler sees. Keys, the input method's
    // text included, go to a popup that is up (a dropped-down list) instead,
    // as the keyboard does.
    void type(QWidget* w, const QString& text);
    // Commits `text` through the input method (how Japanese arrives).
    void typeIme(QWidget* w, const QString& text);
    void pressEnter(QWidget* w);
    void pressKey(QWidget* w, Qt::Key key, const QString& text = QString(),
                  Qt::KeyboardModifiers mods = Qt::NoModifier);
    // Gives `w` the focus as the Tab key would (the window activated first).
    void focus(QWidget* w, Qt::FocusReason reason = Qt::TabFocusReason);

    // Mouse, in the widget's own coordinates (centre when not given).
    void click(QWidget* w);
    void click(QWidget* w, QPoint at);
    void dblClick(QWidget* w);
    void dblClick(QWidget* w, QPoint at);
    void mouseDown(QWidget* w, Qt::MouseButton b, QPoint at,
                   Qt::KeyboardModifiers mods = Qt::NoModifier);
    // `held` are the buttons down during the move.
    void mouseMove(QWidget* w, QPoint at, Qt::MouseButtons held,
                   Qt::KeyboardModifiers mods = Qt::NoModifier);
    void mouseUp(QWidget* w, Qt::MouseButton b, QPoint at,
                 Qt::KeyboardModifiers mods = Qt::NoModifier);

    void chooseRadio(RadioGroup* g, int index);
    // Closes `f` as the title-bar close box does.
    void closeByTitleBar(Form& f);

    // Lets queued events run; waits until `window` is the active window (at
    // most five seconds, for loaded machines). Returns whether it became active.
    static void processEvents();
    static bool waitActive(QWidget* window);

    static QString demangled(const char* name);

    // Names of the auto-sized labels on `window` (panels included), not
    // hidden, that are narrower than a line of their caption: text cut at
    // the right.
    static QStringList cutLabels(const QWidget& window);
    // Names of the captioned panels and the radio groups on `window`, not
    // hidden, whose text comes within `margin` pixels of their frame: a
    // panel's caption line (its advance and height) must fit inside the
    // frame lines less `margin` on each side; and, as drawn, no pixel of a
    // panel's caption or of a group's items (buttons and text) may lie on or
    // within `margin` pixels of the frame lines or the group's title.
    static QStringList crowdedCaptions(const QWidget& window, int margin = 2);
    // Names of the labels on `window`, not hidden, whose text as drawn
    // reaches a bevel's frame lines beside it: a label partly over a bevel
    // must have its ink inside the frame, `margin` pixels clear of the lines
    // (drawn two pixels wide).
    static QStringList labelsAcrossFrames(const QWidget& window, int margin = 2);
    // Names of the controls on `window`, shown, whose text as drawn over what
    // lies behind it has a contrast ratio (relative luminances, 1 to 21) below
    // `minContrast`, each with the ratio found: "Btn_OK 1.2". A control's text
    // is the ink that follows its palette's text colours (labels, captions,
    // button and edit texts, items; not its children's); the ratio is that of
    // its most contrasting fully inked pixel to the commonest colour beside
    // the ink.
    static QStringList faintTexts(QWidget& window, double minContrast);
    // The contrast ratio of two colours (1 to 21).
    static double contrast(QColor a, QColor b);

    void runModal(Form& f) override;

private:
    struct Script {
        QString what;
        std::function<bool(Form&)> matches;
        std::function<void(Form&)> run;
    };
    void queue(QString what, std::function<bool(Form&)> matches, std::function<void(Form&)> run);
    void unscripted(const QString& what);
    void answer(QMessageBox& box);

    TestPlatform platform_;
    Platform* previousPlatform_;
    ModalHook* previousHook_;
    std::deque<Script> scripts_;
    QStringList shown_;
    std::function<void(QMessageBox&)> boxHook_;
    int answeredBoxes_ = 0;
};

}  // namespace tolvane::ui::testing
