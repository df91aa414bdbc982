// Text boxes and the input method: boxes whose input method is off take none,
// the dropped-down list of a combo box keeps it, compositions abandoned or
// committed twice by the input method, and the combo box's text check.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QInputMethodQueryEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <memory>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/keys.h"
#include "ui/testing/driver.h"

using namespace tolvane::ui;
using tolvane::ui::testing::Driver;

namespace {

bool takesInputMethod(QObject* o) {
    QInputMethodQueryEvent q(Qt::ImEnabled | Qt::ImHints);
    QCoreApplication::sendEvent(o, &q);
    return q.value(Qt::ImEnabled).toBool();
}

using Event = std::unique_ptr<QInputMethodEvent>;

Event preedit(const QString& text) {
    return std::make_unique<QInputMethodEvent>(text, QList<QInputMethodEvent::Attribute>());
}

Event commit(const QString& text) {
    auto e = std::make_unique<QInputMethodEvent>();
    e->setCommitString(text);
    return e;
}

class TBoxesF : public Form {
public:
    TBoxesF() : Form(nullptr, QStringLiteral("BoxesF")) {
        setFixedClientSize(400, 300);
        Edit_Day = new Edit(this, QStringLiteral("Edit_Day"), 8, 8, 97, 24);
        Edit_Tenki = new Edit(this, QStringLiteral("Edit_Tenki"), 8, 40, 97, 24);
        Memo1 = new Memo(this, QStringLiteral("Memo1"), 8, 72, 200, 80);
        CBox_Shio = new ComboBox(this, QStringLiteral("CBox_Shio"), 8, 160, 100);
        CBox_Shio->addItems({QString(), QStringLiteral("大潮"), QStringLiteral("中潮")});
        Edit_Day->setImeMode(ImeMode::Off);
        Edit_Tenki->setImeMode(ImeMode::Hiragana);
        Memo1->setImeMode(ImeMode::Hiragana);
        CBox_Shio->setImeMode(ImeMode::Hiragana);
    }
    Edit* Edit_Day;
    Edit* Edit_Tenki;
    Memo* Memo1;
    ComboBox* CBox_Shio;
};

}  // namespace

TEST(InputMethodOff, BoxesAnswerThatTheyTakeNoInputMethodTextAndDropWhatComes) {
    Driver drv;
    TBoxesF f;
    drv.show(f);
    EXPECT_FALSE(takesInputMethod(f.Edit_Day));
    EXPECT_TRUE(takesInputMethod(f.Edit_Tenki));
    EXPECT_TRUE(takesInputMethod(f.Memo1));
    EXPECT_TRUE(takesInputMethod(f.CBox_Shio));
    // The other answers stay the box's own.
    QInputMethodQueryEvent hints(Qt::ImHints);
    QCoreApplication::sendEvent(f.Edit_Day, &hints);
    EXPECT_TRUE(Qt::InputMethodHints(hints.value(Qt::ImHints).toInt()) & Qt::ImhPreferLatin);

    // Text an input method sends all the same is not typed into the box;
    // keys are.
    drv.focus(f.Edit_Day);
    drv.typeIme(f.Edit_Day, QStringLiteral("２０２４"));
    drv.type(f.Edit_Day, QStringLiteral("2024"));
    EXPECT_EQ(f.Edit_Day->text(), QStringLiteral("2024"));

    // Any box can be switched either way; the combo box answers for its line.
    f.Edit_Day->setImeMode(ImeMode::Hiragana);
    EXPECT_TRUE(takesInputMethod(f.Edit_Day));
    f.Memo1->setImeMode(ImeMode::Off);
    f.CBox_Shio->setImeMode(ImeMode::Off);
    EXPECT_FALSE(takesInputMethod(f.Memo1));
    EXPECT_FALSE(takesInputMethod(f.CBox_Shio));
    EXPECT_FALSE(takesInputMethod(f.CBox_Shio->lineEdit()));
    f.CBox_Shio->setImeMode(ImeMode::Hiragana);
    EXPECT_TRUE(takesInputMethod(f.CBox_Shio));
    // Its dropped-down list takes the input method again too.
    drv.focus(f.CBox_Shio);
    drv.pressKey(f.CBox_Shio, Qt::Key_F4);
    ASSERT_TRUE(f.CBox_Shio->view()->isVisible());
    EXPECT_TRUE(takesInputMethod(f.CBox_Shio->view()));
}

TEST(InputMethodCombo, DroppedListKeepsTheInputMethodWhenNothingIsMarked) {
    Driver drv;
    TBoxesF f;
    ComboBox* cb = f.CBox_Shio;
    drv.show(f);
    drv.focus(cb);
    drv.pressKey(cb, Qt::Key_F4);
    ASSERT_TRUE(cb->view()->isVisible());
    EXPECT_TRUE(takesInputMethod(cb->view()));
    // A word no item begins with: the list marks nothing and still takes the
    // input method's next word, which lands once.
    drv.typeIme(cb, QStringLiteral("相模湾"));
    drv.processEvents();
    EXPECT_FALSE(cb->view()->currentIndex().isValid());
    EXPECT_TRUE(takesInputMethod(cb->view()));
    drv.typeIme(cb, QStringLiteral("沖"));
    drv.processEvents();
    EXPECT_EQ(cb->text(), QStringLiteral("相模湾沖"));
    // Typed keys too leave it taking the input method.
    drv.type(cb, QStringLiteral("x"));
    drv.processEvents();
    EXPECT_TRUE(takesInputMethod(cb->view()));
    EXPECT_EQ(cb->text(), QStringLiteral("相模湾沖x"));
}

TEST(InputMethodCombo, PickOnlyAndBackKeepsOneTextCheck) {
    Driver drv;
    TBoxesF f;
    ComboBox* cb = f.CBox_Shio;
    int changes = 0;
    cb->OnChange = [&] { ++changes; };
    cb->setMaxBytes(4);
    cb->setPickOnly(true);
    EXPECT_EQ(cb->lineEdit(), nullptr);
    cb->setMaxBytes(6);   // no check is left to reach
    EXPECT_EQ(cb->maxBytes(), 6);
    cb->setPickOnly(false);
    cb->setPickOnly(false);   // already editable: nothing added
    drv.show(f);
    drv.focus(cb);
    drv.type(cb, QStringLiteral("a"));
    EXPECT_EQ(changes, 1);
    // The limit set while pick-only holds for the new line: 6 bytes.
    drv.typeIme(cb, QStringLiteral("大潮"));
    EXPECT_EQ(cb->text(), QStringLiteral("a大潮"));
    drv.typeIme(cb, QStringLiteral("沖"));
    EXPECT_EQ(cb->text(), QStringLiteral("a大潮"));   // 7 bytes: refused
}

TEST(InputMethodCompositions, AbandonedOnesEndAndASecondCommitAfterTheFocusLeftIsDropped) {
    detail::Composition a, b;
    // Typed, converted, committed: not abandoned.
    Event e = preedit(QStringLiteral("くも"));
    EXPECT_TRUE(a.admit(e.get()));
    EXPECT_FALSE(a.follow(e.get()));
    EXPECT_TRUE(a.composing());
    e = commit(QStringLiteral("雲"));
    EXPECT_FALSE(a.follow(e.get()));
    EXPECT_FALSE(a.composing());
    // Emptied without a commit (Escape): abandoned, once.
    e = preedit(QStringLiteral("くも"));
    a.follow(e.get());
    e = preedit(QString());
    EXPECT_TRUE(a.follow(e.get()));
    EXPECT_FALSE(a.follow(e.get()));
    // Text deleted around the caret by the input method is no abandonment.
    e = preedit(QStringLiteral("く"));
    a.follow(e.get());
    QInputMethodEvent del;
    del.setCommitString(QString(), -1, 1);
    EXPECT_FALSE(a.follow(&del));

    // The focus leaves a in the middle of a composition: the input context
    // commits it there, then the input method commits it into b once more.
    e = preedit(QStringLiteral("仕掛け"));
    a.follow(e.get());
    e = commit(QStringLiteral("仕掛け"));
    a.follow(e.get());
    a.focusLeft();
    e = commit(QStringLiteral("仕掛け"));
    EXPECT_FALSE(b.admit(e.get()));
    EXPECT_TRUE(b.admit(e.get()));   // only once
    // Not when a new composition began in between, nor for other text.
    e = preedit(QStringLiteral("あ"));
    a.follow(e.get());
    e = commit(QStringLiteral("あ"));
    a.follow(e.get());
    a.focusLeft();
    e = preedit(QStringLiteral("い"));
    EXPECT_TRUE(b.admit(e.get()));
    b.follow(e.get());
    e = commit(QStringLiteral("あ"));
    EXPECT_TRUE(b.admit(e.get()));
    e = commit(QStringLiteral("い"));
    EXPECT_TRUE(b.admit(e.get()));
    // A commit by Enter, the focus leaving later by a click: nothing dropped.
    e = preedit(QStringLiteral("う"));
    a.follow(e.get());
    e = commit(QStringLiteral("う"));
    a.follow(e.get());
    e = preedit(QString());
    a.follow(e.get());
    a.focusLeft();
    e = commit(QStringLiteral("う"));
    EXPECT_TRUE(b.admit(e.get()));
}
