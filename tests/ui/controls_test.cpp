// Behaviour of the controls that the windows rely on.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QRadioButton>
#include <stdexcept>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/testing/driver.h"

using namespace tolvane::ui;
using tolvane::ui::testing::Driver;

namespace {

class TEntryF : public Form {
public:
    TEntryF() : Form(nullptr, QStringLiteral("EntryF")) {
        setFixedClientSize(500, 400);
        Edit_Day = new Edit(this, QStringLiteral("Edit_Day"), 8, 8, 97, 24);
        Edit_Tenki = new Edit(this, QStringLiteral("Edit_Tenki"), 8, 40, 97, 24);
        Edit_Max_T1 = new Edit(this, QStringLiteral("Edit_Max_T1"), 8, 72, 33, 24);
        Memo1 = new Memo(this, QStringLiteral("Memo1"), 8, 104, 200, 100);
        Btn_OK = new Button(this, QStringLiteral("Btn_OK"), QStringLiteral("ＯＫ"), 300, 8, 75, 25);
        Edit_Day->OnKeyPress = [this](QChar& key) {
            if (key == QChar(13)) {
                key = QChar(0);
                Edit_Tenki->setFocus();
            }
        };
        Edit_Max_T1->OnKeyPress = [](QChar& key) {
            if (key != QChar(8) && key != QChar(13) && key != QChar(27) &&
                !QStringLiteral("0123456789").contains(key))
                key = QChar(0);
        };
        Edit_Day->OnChange = [this] {
            ++changes;
            if (Edit_Day->modified()) ++userChanges;
        };
        Btn_OK->OnClick = [this] { ++okClicks; };
        Edit_Tenki->OnEnter = [this] { ++tenkiEnters; };
    }
    Edit* Edit_Day;
    Edit* Edit_Tenki;
    Edit* Edit_Max_T1;
    Memo* Memo1;
    Button* Btn_OK;
    int changes = 0, userChanges = 0, okClicks = 0, tenkiEnters = 0;
};

}  // namespace

TEST(EditBox, ModifiedOnlyByTyping) {
    Driver drv;
    TEntryF f;
    drv.show(f);
    f.Edit_Day->setText(QStringLiteral("2024/03/05"));
    EXPECT_FALSE(f.Edit_Day->modified());
    EXPECT_EQ(f.changes, 1);
    EXPECT_EQ(f.userChanges, 0);
    f.Edit_Day->setText(QStringLiteral("2024/03/05"));   // same text: no change
    EXPECT_EQ(f.changes, 1);

    drv.type(f.Edit_Day, QStringLiteral("x"));
    EXPECT_TRUE(f.Edit_Day->modified());
    EXPECT_EQ(f.userChanges, 1);   // the handler already sees the flag

    drv.type(f.Edit_Day, QStringLiteral("釣"));   // non-Latin-1 typing
    EXPECT_TRUE(f.Edit_Day->text().endsWith(QStringLiteral("x釣")));

    f.Edit_Day->clear();
    EXPECT_FALSE(f.Edit_Day->modified());
}

TEST(EditBox, EnterIsConsumedByTheKeyHandlerAndMovesFocus) {
    Driver drv;
    TEntryF f;
    drv.show(f);
    drv.focus(f.Edit_Day);
    f.Edit_Day->setText(QStringLiteral("2024/3/5"));
    drv.pressEnter(f.Edit_Day);
    Driver::processEvents();
    EXPECT_EQ(f.Edit_Day->text(), QStringLiteral("2024/3/5"));
    EXPECT_TRUE(f.Edit_Tenki->focused());
    EXPECT_EQ(f.tenkiEnters, 1);    // moved there by the program: counts as entering
    EXPECT_EQ(f.okClicks, 0);
}

TEST(EditBox, KeyFilterDropsCharactersAndSeesInputMethodText) {
    Driver drv;
    TEntryF f;
    drv.show(f);
    drv.type(f.Edit_Max_T1, QStringLiteral("1a2"));
    EXPECT_EQ(f.Edit_Max_T1->text(), QStringLiteral("12"));
    drv.pressKey(f.Edit_Max_T1, Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(f.Edit_Max_T1->text(), QStringLiteral("1"));
    drv.typeIme(f.Edit_Max_T1, QStringLiteral("３4あ"));
    EXPECT_EQ(f.Edit_Max_T1->text(), QStringLiteral("14"));
    drv.typeIme(f.Edit_Tenki, QStringLiteral("晴れ"));   // no handler: typed as is
    EXPECT_EQ(f.Edit_Tenki->text(), QStringLiteral("晴れ"));
    EXPECT_TRUE(f.Edit_Tenki->modified());
}

TEST(EditBox, KeyHandlerErrorDropsTheKeyAndShowsTheErrorBox) {
    Driver drv;
    TEntryF f;
    drv.show(f);
    f.Edit_Tenki->OnKeyPress = [](QChar&) { throw std::runtime_error("bad key"); };
    drv.type(f.Edit_Tenki, QStringLiteral("a"));
    EXPECT_EQ(f.Edit_Tenki->text(), QString());
    EXPECT_EQ(drv.takeErrors(), QStringList{QStringLiteral("bad key.")});
}

TEST(EditBox, FocusComingBackAfterAModalWindowIsNotEntering) {
    Driver drv;
    TEntryF f;
    drv.show(f);
    drv.focus(f.Edit_Tenki);
    EXPECT_EQ(f.tenkiEnters, 1);
    struct TPickF : Form {
        explicit TPickF(Form* o) : Form(o, QStringLiteral("PickF")) { setFixedClientSize(100, 100); }
    };
    TPickF* pick = nullptr;
    drv.expectModal<TPickF>([&](TPickF& p) { drv.closeByTitleBar(p); });
    openModal(pick, &f);
    Driver::waitActive(&f);
    EXPECT_TRUE(f.Edit_Tenki->focused());
    EXPECT_EQ(f.tenkiEnters, 1);
}

TEST(EditBox, UnconsumedEnterReachesNoButton) {
    Driver drv;
    TEntryF f;
    drv.show(f);
    drv.focus(f.Edit_Tenki);
    drv.pressEnter(f.Edit_Tenki);
    EXPECT_EQ(f.okClicks, 0);
    drv.focus(f.Btn_OK);
    drv.pressEnter(f.Btn_OK);   // Enter on a focused button clicks it
    EXPECT_EQ(f.okClicks, 1);
}

TEST(MemoBox, TextReadsAndWritesWithCrLf) {
    Driver drv;
    TEntryF f;
    drv.show(f);
    f.Memo1->setText(QStringLiteral("一行目\r\n二行目"));
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("一行目\r\n二行目"));
    EXPECT_EQ(f.Memo1->lines(), (QStringList{QStringLiteral("一行目"), QStringLiteral("二行目")}));
    f.Memo1->setText(QStringLiteral("a\nb\rc"));
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("a\r\nb\r\nc"));
    EXPECT_FALSE(f.Memo1->modified());

    // Emptied, then the stored text added as one line: it ends with CR LF.
    f.Memo1->clear();
    f.Memo1->linesAdd(QStringLiteral("abc"));
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("abc\r\n"));
    EXPECT_FALSE(f.Memo1->modified());

    // Enter in a memo starts a new line; typing marks it modified.
    f.Memo1->setText(QStringLiteral("x"));
    f.Memo1->moveCursor(QTextCursor::End);
    drv.pressEnter(f.Memo1);
    drv.type(f.Memo1, QStringLiteral("y"));
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("x\r\ny"));
    EXPECT_TRUE(f.Memo1->modified());
}

TEST(MemoBox, ChangeHandlerSeesUserChangesAsModified) {
    Driver drv;
    TEntryF f;
    drv.show(f);
    int user = 0, all = 0;
    f.Memo1->OnChange = [&] {
        ++all;
        if (f.Memo1->modified()) ++user;
    };
    f.Memo1->setText(QStringLiteral("stored"));
    EXPECT_EQ(all, 1);
    EXPECT_EQ(user, 0);
    drv.type(f.Memo1, QStringLiteral("z"));
    EXPECT_EQ(user, 1);
}

namespace {
// A tide-name box on `f`: an empty item and two names.
ComboBox* tideBox(TEntryF& f) {
    auto* cb = new ComboBox(&f, QStringLiteral("CBox_Shio"), 8, 220, 100);
    cb->addItems({QString(), QStringLiteral("大潮"), QStringLiteral("中潮")});
    return cb;
}
}  // namespace

TEST(ComboBoxes, TypedTextAndChoicesWithoutProgramChanges) {
    Driver drv;
    TEntryF f;
    ComboBox* cb = tideBox(f);
    int changes = 0;
    cb->OnChange = [&] { ++changes; };
    drv.show(f);
    cb->setItemIndex(1);
    EXPECT_EQ(cb->text(), QStringLiteral("大潮"));
    cb->setItemIndex(-1);
    EXPECT_EQ(cb->text(), QString());
    EXPECT_EQ(changes, 0);
    drv.typeIme(cb, QStringLiteral("若潮"));
    EXPECT_EQ(cb->text(), QStringLiteral("若潮"));
    EXPECT_EQ(cb->itemCount(), 3);   // typed text is not added
    EXPECT_GE(changes, 1);
    bool enterSeen = false;
    cb->OnKeyPress = [&](QChar& k) {
        if (k == QChar(13)) {
            enterSeen = true;
            k = QChar(0);
        }
    };
    drv.pressEnter(cb);
    EXPECT_TRUE(enterSeen);
    EXPECT_EQ(cb->itemCount(), 3);
}

TEST(ComboBoxes, EnterInTheDroppedListChoosesTheMarkOrClosesItAndReachesTheBox) {
    Driver drv;
    TEntryF f;
    ComboBox* cb = tideBox(f);
    int enters = 0;
    bool boxHadFocus = false;
    cb->OnKeyPress = [&](QChar& k) {   // an Enter chain: on to the next box
        if (k != QChar(13)) return;
        ++enters;
        boxHadFocus = cb->focused();
        k = QChar(0);
        f.Edit_Tenki->setFocus();
    };
    drv.show(f);
    auto dropped = [&] { return cb->view()->isVisible(); };

    // A marked item is chosen: the box keeps the focus, its handler sees no Enter.
    drv.focus(cb);
    drv.pressKey(cb, Qt::Key_F4);
    ASSERT_TRUE(dropped());
    drv.type(cb, QStringLiteral("大"));
    drv.pressEnter(cb);
    EXPECT_FALSE(dropped());
    EXPECT_EQ(cb->text(), QStringLiteral("大潮"));
    EXPECT_EQ(cb->itemIndex(), 1);
    EXPECT_EQ(enters, 0);
    EXPECT_TRUE(cb->focused());

    // Input-method text no item begins with: the list closes, the text stays,
    // and the handler sees 13 with the focus in the box, as with the list closed.
    cb->setItemIndex(-1);
    drv.pressKey(cb, Qt::Key_F4);
    drv.typeIme(cb, QStringLiteral("満"));
    ASSERT_TRUE(dropped());
    EXPECT_FALSE(cb->view()->currentIndex().isValid());
    drv.pressEnter(cb);
    EXPECT_FALSE(dropped());
    EXPECT_EQ(cb->text(), QStringLiteral("満"));
    EXPECT_EQ(enters, 1);
    EXPECT_TRUE(boxHadFocus);
    EXPECT_TRUE(f.Edit_Tenki->focused());
    EXPECT_EQ(f.tenkiEnters, 1);
}

TEST(ListBoxes, ColumnsFillTopToBottomAndKeysSeeTheSelectionBefore) {
    Driver drv;
    TEntryF f;
    auto* lb = new ListBox(&f, QStringLiteral("ListBox1"), 8, 8, 300, 100);
    lb->setItemHeight(15);
    lb->setColumns(3);
    for (int i = 0; i < 20; ++i) lb->addItem(QStringLiteral("場所%1").arg(i));
    lb->setItemIndex(0);
    drv.show(f);
    const QRect r0 = lb->visualItemRect(lb->item(0));
    const QRect r1 = lb->visualItemRect(lb->item(1));
    EXPECT_EQ(r1.left(), r0.left());   // second item under the first
    EXPECT_EQ(r1.top() - r0.top(), 15);
    const int perColumn = (lb->viewport()->height()) / 15;
    const QRect rn = lb->visualItemRect(lb->item(perColumn));
    EXPECT_GT(rn.left(), r0.left());    // then the next column
    EXPECT_NEAR(rn.left() - r0.left(), lb->viewport()->width() / 3, 1);

    QString answered;
    lb->OnKeyPress = [&](QChar&) { answered = lb->itemText(lb->itemIndex()); };
    drv.type(lb, QStringLiteral("a"));
    EXPECT_EQ(answered, QStringLiteral("場所0"));
    int dbl = 0;
    lb->OnDblClick = [&] { ++dbl; };
    drv.dblClick(lb, r1.center());
    EXPECT_EQ(dbl, 1);
    EXPECT_EQ(lb->itemIndex(), 1);
}

TEST(Labels, DoubleClickAndAutoSize) {
    Driver drv;
    TEntryF f;
    auto* l = new Label(&f, QStringLiteral("Label6"), QStringLiteral("Label6"), 32, 300);
    int dbl = 0, clicks = 0;
    l->OnDblClick = [&] { ++dbl; };
    l->OnClick = [&] { ++clicks; };
    drv.show(f);
    const int w0 = l->width();
    l->setCaption(QStringLiteral("Ver 1.0.0.0"));
    EXPECT_GT(l->width(), w0);
    drv.dblClick(l);
    EXPECT_EQ(dbl, 1);
    EXPECT_EQ(clicks, 1);   // the first press and release of the double click
}

// The rows of `w` holding dark pixels (text), top to bottom, `inset` pixels
// inside its edges.
static QList<int> inkRows(QWidget& w, int inset = 0) {
    const QImage img = w.grab(w.rect().adjusted(inset, inset, -inset, -inset)).toImage();
    QList<int> rows;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 100) {
                rows.append(y);
                break;
            }
    return rows;
}

TEST(Labels, LineBreakLabelBreaksAtTheCarriageReturn) {
    QWidget parent;
    auto* label = new LineBreakLabel(&parent, "Label_XY", 0, 0, 146, 44);
    label->setFontPx(16, true);
    const QString text = QStringLiteral("BitMapのサイズ　") + QChar(13) + QStringLiteral("640 * 480");
    label->setCaption(text);
    EXPECT_EQ(label->caption(), text);   // kept as set, carriage return included
    const QList<int> twoLines = inkRows(*label);
    label->setCaption("640 * 480");
    const QList<int> oneLine = inkRows(*label);
    ASSERT_FALSE(twoLines.isEmpty());
    ASSERT_FALSE(oneLine.isEmpty());
    // The heading and the size stand one above the other: about twice as tall.
    EXPECT_GT(twoLines.last() - twoLines.first(), 3 * (oneLine.last() - oneLine.first()) / 2);
}

TEST(Buttons, LineBreakButtonBreaksAtTheCarriageReturn) {
    QWidget parent;
    auto* b = new LineBreakButton(&parent, "Btn_Go", QStringLiteral("検索条件"), 0, 0, 273, 49);
    b->setFontPx(15, true);
    const QString text = QStringLiteral("\"アジ\"") + QChar(13) + QStringLiteral("の条件で検索します");
    b->setCaption(text);
    EXPECT_EQ(b->caption(), text);
    const QList<int> twoLines = inkRows(*b, 5);
    b->setCaption(QStringLiteral("\"アジ\"の条件で検索します"));
    const QList<int> oneLine = inkRows(*b, 5);
    ASSERT_FALSE(twoLines.isEmpty());
    ASSERT_FALSE(oneLine.isEmpty());
    EXPECT_GT(twoLines.last() - twoLines.first(), 3 * (oneLine.last() - oneLine.first()) / 2);
}

TEST(Readers, WholeNumbersAndControlTextsByName) {
    EXPECT_EQ(wholeNumber(" 42 "), 42);
    EXPECT_EQ(wholeNumber("-7"), -7);
    for (const char* t : {"", "新規入力", "4.5", "1e3", "2147483648", "1,000", "-1,000", "12,345,678", "1,0"})
        EXPECT_FALSE(wholeNumber(t)) << t;

    TEntryF f;
    f.Edit_Day->setText("2024/04/13");
    new Label(&f, QStringLiteral("Label_CODE"), QStringLiteral("12"), 200, 300);
    EXPECT_EQ(controlText(&f, "Edit_Day"), "2024/04/13");
    EXPECT_EQ(controlText(&f, "Label_CODE"), "12");
    EXPECT_EQ(controlText(&f, "Btn_OK"), "");   // neither an edit box nor a label
    EXPECT_EQ(controlText(&f, "Edit_None"), "");
    EXPECT_EQ(controlText(nullptr, "Edit_Day"), "");
}

TEST(Buttons, FlatButtonGroupsKeepOneDown) {
    Driver drv;
    TEntryF f;
    auto* a = new FlatButton(&f, QStringLiteral("S_Btn_1"), QStringLiteral("A"), 8, 300, 60, 25);
    auto* b = new FlatButton(&f, QStringLiteral("S_Btn_2"), QStringLiteral("B"), 80, 300, 60, 25);
    a->setGroupIndex(1);
    b->setGroupIndex(1);
    int clicks = 0;
    a->OnClick = [&] { ++clicks; };
    drv.show(f);
    EXPECT_FALSE(a->down());
    drv.click(a);
    EXPECT_TRUE(a->down());
    drv.click(a);
    EXPECT_TRUE(a->down());   // pressing the pressed one keeps it down
    drv.click(b);
    EXPECT_FALSE(a->down());
    EXPECT_TRUE(b->down());
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(a->focusPolicy(), Qt::NoFocus);
    b->setFontColor(Qt::red);
    EXPECT_EQ(b->palette().color(QPalette::ButtonText), QColor(Qt::red));
}

TEST(RadioGroups, ClickRunsForUserAndProgramChanges) {
    Driver drv;
    TEntryF f;
    auto* g = new RadioGroup(&f, QStringLiteral("RadioGroup1"), QString(), 8, 220, 300, 80);
    g->setItems({QStringLiteral("MY　オリジナルの潮位表示"), QStringLiteral("一般の潮位表示")});
    g->setItemIndex(0);
    QStringList seen;
    g->OnClick = [&] { seen << QString::number(g->itemIndex()); };
    drv.show(f);
    g->setItemIndex(1);
    drv.chooseRadio(g, 0);
    drv.chooseRadio(g, 0);   // already chosen: no change
    EXPECT_EQ(seen, (QStringList{QStringLiteral("1"), QStringLiteral("0")}));
    EXPECT_TRUE(g->button(0)->isChecked());
}

TEST(Shapes, HiddenAtSizeZeroAndMouseEventsCarryButtonsAndModifiers) {
    Driver drv;
    TEntryF f;
    auto* s = new Shape(&f, QStringLiteral("Shape_1"), 40, 16, 65, 200);
    s->setPen(Qt::blue, 3);
    s->setFill(Shape::Fill::Clear);
    QStringList log;
    s->OnMouseDown = [&](MouseButton b, ShiftState st, int x, int y) {
        log << QStringLiteral("down %1 %2 %3 %4").arg(int(b)).arg(st).arg(x).arg(y);
    };
    s->OnMouseMove = [&](ShiftState st, int x, int y) {
        log << QStringLiteral("move %1 %2 %3").arg(st).arg(x).arg(y);
    };
    s->OnMouseUp = [&](MouseButton b, ShiftState st, int x, int y) {
        log << QStringLiteral("up %1 %2 %3 %4").arg(int(b)).arg(st).arg(x).arg(y);
    };
    drv.show(f);
    drv.mouseDown(s, Qt::RightButton, QPoint(5, 6));
    drv.mouseMove(s, QPoint(90, 7), Qt::RightButton, Qt::ShiftModifier);   // outside: still its own
    drv.mouseUp(s, Qt::RightButton, QPoint(90, 7));
    EXPECT_EQ(log, (QStringList{QStringLiteral("down 1 16 5 6"),
                                QStringLiteral("move 17 90 7"),
                                QStringLiteral("up 1 0 90 7")}));
    s->setBounds(0, 0, 0, 0);
    EXPECT_TRUE(s->visible());
    EXPECT_TRUE(s->visibleRegion().isEmpty());
    s->setBounds(10, 10, -5, 20);   // a negative width is held as none
    EXPECT_EQ(s->width(), 0);
}

TEST(Panels, AnchorsFollowTheParent) {
    Driver drv;
    TEntryF f;
    f.setMinClientSize(500, 400);
    f.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    auto* topRight = new Button(&f, QStringLiteral("Btn_Return"), QStringLiteral("戻　る"), 400, 16, 80, 25);
    topRight->setAnchors(akTop | akRight);
    auto* all = new ListBox(&f, QStringLiteral("ListBox1"), 8, 8, 300, 300);
    all->setAnchors(akLeft | akTop | akRight | akBottom);
    drv.show(f);
    f.setWidth(600);
    f.setHeight(450);
    Driver::processEvents();
    EXPECT_EQ(topRight->left(), 500);
    EXPECT_EQ(topRight->top(), 16);
    EXPECT_EQ(all->width(), 400);
    EXPECT_EQ(all->height(), 350);
}

// A control sized or moved after its anchors were set (an auto-sized label
// taking a caption, a handler setting bounds) keeps that size and place at
// the next resize of its parent, shown or not.
TEST(Panels, AnchorsKeepWhatTheControlBecameSince) {
    Driver drv;
    TEntryF f;
    f.setMinClientSize(500, 400);
    f.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    auto* size = new Label(&f, QStringLiteral("Label_XY"), QString(), 400, 100);
    size->setFontPx(16, true);
    size->setAnchors(akTop | akRight);
    auto* button = new Button(&f, QStringLiteral("Btn_In"), QStringLiteral("読み込み"), 400, 16, 80, 25);
    button->setAnchors(akTop | akRight);
    auto* bottom = new Label(&f, QStringLiteral("Label1"), QString(), 8, 361);
    bottom->setAnchors(akLeft | akBottom);
    const auto whole = [](Label* l) {
        return l->width() >= QFontMetrics(l->font()).horizontalAdvance(l->caption());
    };
    const auto gap = [&](Control* c) { return f.width() - (c->left() + c->width()); };

    // Before the window is shown: the resize reaches the controls at the show.
    size->setCaption(QStringLiteral("640 * 480"));
    f.setWidth(600);
    bottom->setCaption(QStringLiteral("上記に無い場合には新規に入力します"));
    drv.show(f);
    EXPECT_EQ(size->left(), 500);
    EXPECT_TRUE(whole(size)) << size->width();
    EXPECT_EQ(bottom->bounds().topLeft(), QPoint(8, 361));
    EXPECT_TRUE(whole(bottom)) << bottom->width();

    // Shown: a caption, then a wider and a narrower window.
    size->setCaption(QStringLiteral("3000 * 2000"));
    button->setWidth(121);
    const int sizeGap = gap(size), buttonGap = gap(button);
    f.setWidth(900);
    f.setHeight(450);
    Driver::processEvents();
    EXPECT_EQ(size->caption(), QStringLiteral("3000 * 2000"));
    EXPECT_TRUE(whole(size)) << size->width();
    EXPECT_EQ(gap(size), sizeGap);
    EXPECT_EQ(size->left(), 800);
    EXPECT_EQ(button->width(), 121);
    EXPECT_EQ(gap(button), buttonGap);
    EXPECT_EQ(bottom->top(), 411);
    EXPECT_TRUE(whole(bottom));
    f.setWidth(500);
    Driver::processEvents();
    EXPECT_EQ(size->left(), 400);
    EXPECT_EQ(gap(size), sizeGap);
    EXPECT_TRUE(Driver::cutLabels(f).isEmpty()) << Driver::cutLabels(f).join(' ').toStdString();

    // Bounds set by a handler become the new base.
    button->setBounds(300, 40, 90, 30);
    f.setWidth(550);
    Driver::processEvents();
    EXPECT_EQ(button->bounds(), QRect(350, 40, 90, 30));
}

TEST(Panels, CaptionColourAndDoubleClick) {
    Driver drv;
    TEntryF f;
    auto* p = new Panel(&f, QStringLiteral("Panel_1"), 8, 8, 60, 30, QStringLiteral("１月"));
    p->Tag = 100;
    p->setColor(QColor(192, 192, 192));
    p->setFontColor(QColor(128, 128, 128));
    int dbl = 0;
    p->OnDblClick = [&] { ++dbl; };
    drv.show(f);
    drv.dblClick(p);
    EXPECT_EQ(dbl, 1);
    EXPECT_EQ(p->color(), QColor(192, 192, 192));
    EXPECT_EQ(p->caption(), QStringLiteral("１月"));
}

// Captions against their frames, as drawn: a panel whose caption fills it
// and an item moved onto its group's frame line are found; a group whose
// title leaves a short row keeps its items clear in a smaller font.
TEST(Captions, StandClearOfTheirFrames) {
    Driver drv;
    TEntryF f;
    f.setFontPx(16);
    new Panel(&f, QStringLiteral("Panel_1"), 8, 220, 49, 33, QStringLiteral("１月"));
    auto* full = new Panel(&f, QStringLiteral("Panel_Full"), 60, 220, 60, 69, QStringLiteral("時　　期"));
    full->setFontPx(14);
    auto* shortRows =
        new RadioGroup(&f, QStringLiteral("RadioGroup1"), QStringLiteral("処理の選択"), 8, 300, 480, 41);
    shortRows->setItems({QStringLiteral("釣果　データの削除"), QStringLiteral("メモ　データの削除"),
                         QStringLiteral("メモ　ジャンルの追加")});
    shortRows->setColumns(3);
    auto* tall = new RadioGroup(&f, QStringLiteral("RadioGroup2"), QString(), 240, 210, 249, 81);
    tall->setItems({QStringLiteral("「船」で表示"), QStringLiteral("「ポイント」で表示")});
    drv.show(f);
    EXPECT_EQ(Driver::crowdedCaptions(f), QStringList{QStringLiteral("Panel_Full")});
    EXPECT_EQ(tall->button(1)->font().pixelSize(), 16);   // room enough: the group's own font
    EXPECT_EQ(shortRows->bounds(), QRect(8, 300, 480, 41));

    full->setFontPx(13);
    tall->button(0)->move(tall->button(0)->x(), 0);
    EXPECT_EQ(Driver::crowdedCaptions(f), QStringList{QStringLiteral("RadioGroup2")});
}
