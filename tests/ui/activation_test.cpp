// The activation after a modal window or a box: the window layer hands it back
// to the owner before the opener's next line, so a focus move made there counts
// as entering the box (OnEnter runs). Boxes here are real windows.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/platform.h"
#include "ui/testing/driver.h"
#include "ui/window_system.h"

using namespace tolvane::ui;
using tolvane::ui::testing::Driver;

namespace {

class TBoxF : public Form {
public:
    explicit TBoxF(Form* owner) : Form(owner, QStringLiteral("BoxF")) {
        setFixedClientSize(200, 120);
        Btn_Close = new Button(this, QStringLiteral("Btn_Close"), QStringLiteral("閉じる"), 8, 8, 75, 25);
        Btn_Close->OnClick = [this] { close(); };
    }
    Button* Btn_Close;
};
TBoxF* BoxF = nullptr;

// After each step a focus move, as the entry windows make them.
class TFocusF : public Form {
public:
    explicit TFocusF(Form* owner = nullptr) : Form(owner, QStringLiteral("FocusF")) {
        setFixedClientSize(400, 200);
        Edit_A = new Edit(this, QStringLiteral("Edit_A"), 8, 8, 100);
        Edit_B = new Edit(this, QStringLiteral("Edit_B"), 8, 40, 100);
        Btn_Go = new Button(this, QStringLiteral("Btn_Go"), QStringLiteral("実行"), 8, 80, 75, 25);
        Edit_A->OnEnter = [this] { entered << QStringLiteral("A"); };
        Edit_B->OnEnter = [this] { entered << QStringLiteral("B"); };
        Btn_Go->OnClick = [this] { step(); };
    }
    Edit* Edit_A;
    Edit* Edit_B;
    Button* Btn_Go;
    QStringList entered;
    std::function<void()> step;
};

void leaveTheBoxes(TFocusF& f, Driver& drv) {
    drv.focus(f.Btn_Go);   // the button the user pressed holds the focus
    f.entered.clear();
}

}  // namespace

TEST(Activation, AModalWindowGivesItBackBeforeTheOpenersNextLine) {
    Driver drv;
    TFocusF w;
    drv.show(w);
    leaveTheBoxes(w, drv);
    bool activeAfter = false;
    w.step = [&] {
        openModal(BoxF, &w);
        activeAfter = w.isActiveWindow();
        w.Edit_A->setFocus();
        w.Edit_B->setFocus();
    };
    drv.expectModal<TBoxF>([&](TBoxF& f) {
        EXPECT_FALSE(w.isActiveWindow());   // the window really took it
        drv.click(f.Btn_Close);
    });
    drv.click(w.Btn_Go);
    EXPECT_TRUE(activeAfter);
    EXPECT_EQ(w.entered, (QStringList{"A", "B"}));
    EXPECT_TRUE(w.Edit_B->hasFocus());
}

TEST(Activation, RealMessageAndErrorBoxesTakeItAndGiveItBack) {
    Driver drv(Driver::Boxes::Real);
    TFocusF w;
    drv.show(w);
    QStringList seen;
    drv.whileBoxShown([&](QMessageBox& box) {
        EXPECT_FALSE(w.isActiveWindow());
        EXPECT_EQ(QApplication::activeWindow(), &box);
        EXPECT_EQ(box.windowTitle(), programName());
        seen << box.text();
    });

    // A message, then two focus moves: both boxes are entered.
    leaveTheBoxes(w, drv);
    w.step = [&] {
        platform().messageBox(&w, QStringLiteral("一行目\r二行目"));
        w.Edit_A->setFocus();
        w.Edit_B->setFocus();
    };
    drv.click(w.Btn_Go);
    EXPECT_EQ(drv.takeMessages(), QStringList{"一行目\r二行目"});
    EXPECT_EQ(seen, QStringList{"一行目\n二行目"});
    EXPECT_EQ(w.entered, (QStringList{"A", "B"}));
    EXPECT_TRUE(w.isActiveWindow());

    // An error escaping a handler: the guard's box, then the window is active
    // again and the next focus move counts.
    leaveTheBoxes(w, drv);
    w.step = [] { throw std::runtime_error("lock conflict"); };
    drv.click(w.Btn_Go);
    EXPECT_EQ(drv.takeErrors(), QStringList{"lock conflict."});
    EXPECT_EQ(seen.last(), "lock conflict.");
    EXPECT_TRUE(w.isActiveWindow());
    drv.focus(w.Edit_A, Qt::OtherFocusReason);
    EXPECT_EQ(w.entered, QStringList{"A"});
    EXPECT_EQ(drv.answeredBoxes(), 2);
}

TEST(Activation, ABoxOverAModalWindowGivesItBackToThatWindow) {
    Driver drv(Driver::Boxes::Real);
    TFocusF main;
    drv.show(main);
    TFocusF* dialog = nullptr;
    main.step = [&] { openModal(dialog, &main); };
    drv.expectModal<TFocusF>([&](TFocusF& f) {
        leaveTheBoxes(f, drv);
        f.step = [&f] {
            platform().messageBox(&f, QStringLiteral("確認"));
            f.Edit_B->setFocus();
        };
        drv.click(f.Btn_Go);
        EXPECT_EQ(drv.takeMessages(), QStringList{"確認"});
        EXPECT_TRUE(f.isActiveWindow());
        EXPECT_EQ(f.entered, QStringList{"B"});
        // A box whose owner is the window beneath: the dialog, still modal,
        // gets the activation back, not its owner.
        platform().messageBox(&main, QStringLiteral("下の窓から"));
        EXPECT_EQ(drv.takeMessages(), QStringList{"下の窓から"});
        EXPECT_TRUE(f.isActiveWindow());
        EXPECT_FALSE(main.isActiveWindow());
        f.close();
    });
    drv.click(main.Btn_Go);
    EXPECT_TRUE(main.isActiveWindow());
    EXPECT_TRUE(main.entered.isEmpty());
}

// Where the compositor decides the activation (Wayland), the program asks for
// X first when an X display is there; a platform the user names stands.
TEST(Activation, XIsAskedForFirstWhereADisplayIsThereAndNoPlatformIsNamed) {
    char prog[] = "tolvane", opt[] = "-platform", theirs[] = "wayland";
    char* argv[] = {prog, opt, theirs};
    using Args = std::vector<std::string>;
    const Args xFirst{"tolvane", "-platform", "xcb;wayland"};
    EXPECT_EQ(withPlatformChoice(1, argv, nullptr, ":0"), xFirst);
    EXPECT_EQ(withPlatformChoice(1, argv, "", ":0"), xFirst);
    EXPECT_EQ(withPlatformChoice(1, argv, "wayland", ":0"), Args{"tolvane"});
    EXPECT_EQ(withPlatformChoice(1, argv, nullptr, ""), Args{"tolvane"});
    // The user's -platform comes after ours: Qt takes the last.
    EXPECT_EQ(withPlatformChoice(3, argv, nullptr, ":0").back(), "wayland");
}
