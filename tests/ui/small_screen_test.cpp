// Windows on a screen smaller than they are: a 1280 x 720 laptop screen less a
// 40-pixel panel (this binary runs on a 1280 x 680 offscreen screen).
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/testing/driver.h"

using namespace tolvane::ui;
using tolvane::ui::testing::Driver;

namespace {

// A window of the catch entry's size with its buttons along the bottom and
// right edges, as the photo windows have them.
class TTallF : public Form {
public:
    TTallF() : Form(nullptr, QStringLiteral("TallF")) {
        setFixedClientSize(960, 710);
        setPosition(Position::ScreenCenter);
        setColor(QColor(170, 211, 249));
        Edit_A = new Edit(this, QStringLiteral("Edit_A"), 8, 8, 100, 24);
        Panel1 = new Panel(this, QStringLiteral("Panel1"), 8, 600, 400, 100);
        Edit_B = new Edit(Panel1, QStringLiteral("Edit_B"), 8, 8, 100, 24);
        Edit_C = new Edit(this, QStringLiteral("Edit_C"), 200, 8, 100, 24);
        Hidden = new Label(this, QStringLiteral("Hidden"), QStringLiteral("x"), 300, 300);
        Hidden->setVisible(false);
        Btn_Close = new Button(this, QStringLiteral("Btn_Close"), QStringLiteral("戻　る"), 856, 676, 89, 25);
        Btn_Close->OnClick = [this] { close(); };
        Edit_C->setFocus();
    }
    Edit* Edit_A;
    Panel* Panel1;
    Edit* Edit_B;
    Edit* Edit_C;
    Label* Hidden;
    Button* Btn_Close;
};

QRect available(const QWidget& w) { return w.screen()->availableGeometry(); }

}  // namespace

TEST(SmallScreen, TallWindowOpensInsideTheAreaAndScrollsToEveryControl) {
    ASSERT_EQ(QGuiApplication::primaryScreen()->availableGeometry().height(), 680)
        << "run with TOLVANE_TEST_SCREEN=1280x680";
    Driver drv;
    TTallF f;
    QList<QWidget*> order;
    for (QWidget* w = f.Edit_A; order.size() < 4; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus) order << w;
    drv.show(f);

    // The whole frame, title bar included, on the screen's available area.
    EXPECT_TRUE(available(f).contains(f.frameGeometry())) << f.frameGeometry().top();
    ASSERT_TRUE(f.scrolled());
    EXPECT_LE(f.height(), 680);
    // Controls keep their design bounds, visibility, window, focus and Tab order.
    EXPECT_EQ(f.Btn_Close->bounds(), QRect(856, 676, 89, 25));
    EXPECT_EQ(f.Edit_B->bounds(), QRect(8, 8, 100, 24));
    EXPECT_EQ(f.Btn_Close->form(), &f);
    EXPECT_EQ(f.findControl<Button>(QStringLiteral("Btn_Close")), f.Btn_Close);
    EXPECT_FALSE(f.Hidden->visible());
    EXPECT_TRUE(f.Edit_A->isVisible());
    EXPECT_EQ(f.activeControl(), f.Edit_C);
    QList<QWidget*> after;
    for (QWidget* w = f.Edit_A; after.size() < 4; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus) after << w;
    EXPECT_EQ(after, order);

    // The bottom button is reached by scrolling down, the window keeps its colour.
    auto* area = f.findChild<QScrollArea*>();
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->viewport()->palette().color(QPalette::Window), QColor(170, 211, 249));
    const auto onScreen = [&](QWidget* w) {
        return QRect(QPoint(0, 0), f.size()).contains(QRect(w->mapTo(&f, QPoint(0, 0)), w->size()));
    };
    EXPECT_FALSE(onScreen(f.Btn_Close));
    area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
    area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->maximum());
    Driver::processEvents();
    EXPECT_TRUE(onScreen(f.Btn_Close));
    drv.click(f.Btn_Close);
    EXPECT_FALSE(f.isOpen());
}

TEST(SmallScreen, ResizableWindowKeepsItsAnchorsInTheScrollArea) {
    Driver drv;
    Form f(nullptr, QStringLiteral("WideF"));
    f.setClientSize(720, 700);
    f.setMinClientSize(720, 700);
    f.setPosition(Form::Position::ScreenCenter);
    auto* right = new Button(&f, QStringLiteral("Btn_Right"), QStringLiteral("閉じる"), 620, 660, 90, 30);
    right->setAnchors(akRight | akBottom);
    drv.show(f);
    ASSERT_TRUE(f.scrolled());
    EXPECT_TRUE(available(f).contains(f.frameGeometry()));
    EXPECT_EQ(right->bounds(), QRect(620, 660, 90, 30));
    // Wider: the scroll area's client grows with it, the anchored button follows.
    f.resize(f.width() + 100, f.height());
    Driver::processEvents();
    EXPECT_EQ(right->left(), 720);
    f.close();
}

TEST(SmallScreen, DialogOverALowOwnerStaysOnTheScreen) {
    Driver drv;
    Form owner(nullptr, QStringLiteral("OwnerF"));
    owner.setFixedClientSize(300, 200);
    owner.move(900, 450);
    drv.show(owner);
    auto* child = new Form(&owner, QStringLiteral("ChildF"));
    child->setFixedClientSize(400, 400);
    child->setPosition(Form::Position::OwnerCenter);
    drv.expectModal(QStringLiteral("ChildF"), [&](Form& f) {
        EXPECT_TRUE(available(f).contains(f.frameGeometry())) << f.frameGeometry().bottom();
        EXPECT_FALSE(f.scrolled());
        f.close();
    });
    child->showModal();
    delete child;
}
