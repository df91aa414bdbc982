// The modal chain, the error guard and the closing paths, driven headless.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/testing/driver.h"

using namespace tolvane::ui;
using tolvane::ui::testing::Driver;

namespace {

// A dialog as the windows build them: named controls, named handlers.
class TChildF : public Form {
public:
    explicit TChildF(Form* owner) : Form(owner, QStringLiteral("ChildF")) {
        setCaption(QStringLiteral("子"));
        setFixedClientSize(300, 200);
        setPosition(Position::OwnerCenter);
        Btn_OK = new Button(this, QStringLiteral("Btn_OK"), QStringLiteral("ＯＫ"), 8, 8, 75, 25);
        Btn_OK->OnClick = [this] { Btn_OKClick(); };
        Btn_Fail = new Button(this, QStringLiteral("Btn_Fail"), QStringLiteral("失敗"), 8, 40, 75, 25);
        Btn_Fail->OnClick = [this] { Btn_FailClick(); };
        OnShow = [this] { FormShow(); };
        ++alive;
    }
    ~TChildF() override { --alive; }

    Button* Btn_OK;
    Button* Btn_Fail;
    QString result;
    bool failShow = false;
    bool closeInShow = false;
    int shows = 0;
    static int alive;

    void FormShow() {
        ++shows;
        result = QStringLiteral("shown");
        if (closeInShow) {
            close();
            return;
        }
        if (failShow) throw std::runtime_error("no such table");
        result = QStringLiteral("show done");
    }
    void Btn_OKClick() {
        result = QStringLiteral("ok");
        close();
    }
    void Btn_FailClick() {
        result = QStringLiteral("half");
        throw std::runtime_error("lock conflict on no wait transaction.");
    }
};
int TChildF::alive = 0;

TChildF* ChildF = nullptr;

class TOpenerF : public Form {
public:
    TOpenerF() : Form(nullptr, QStringLiteral("OpenerF")) {
        setFixedClientSize(400, 300);
        setPosition(Position::ScreenCenter);
        Btn_Open = new Button(this, QStringLiteral("Btn_Open"), QStringLiteral("開く"), 8, 8, 75, 25);
        Btn_Open->OnClick = [this] { Btn_OpenClick(); };
    }
    Button* Btn_Open;
    QString after;
    bool variableSetWhileOpen = false;
    void Btn_OpenClick() {
        openModal(ChildF, this);
        after = ChildF == nullptr ? QStringLiteral("cleared") : QStringLiteral("still set");
    }
};

}  // namespace

TEST(ModalChain, OpenerCreatesShowsFreesAndClearsTheVariable) {
    Driver drv;
    TOpenerF opener;
    drv.show(opener);
    bool sawOwner = false;
    drv.expectModal<TChildF>([&](TChildF& f) {
        sawOwner = f.owner() == &opener && ChildF == &f && f.isVisible();
        EXPECT_EQ(f.result, QStringLiteral("show done"));
        EXPECT_TRUE(opener.isEnabled());
        EXPECT_EQ(f.windowModality(), Qt::ApplicationModal);
        drv.click(f.Btn_OK);
    });
    drv.click(opener.Btn_Open);
    EXPECT_TRUE(sawOwner);
    EXPECT_EQ(opener.after, QStringLiteral("cleared"));
    EXPECT_EQ(TChildF::alive, 0);
}

TEST(ModalChain, ScriptMatchedByWindowName) {
    Driver drv;
    TOpenerF opener;
    drv.show(opener);
    drv.expectModal(QStringLiteral("ChildF"), [&](Form& f) { drv.closeByTitleBar(f); });
    drv.click(opener.Btn_Open);
    EXPECT_EQ(drv.shownWindows(), QStringList{QStringLiteral("ChildF")});
    EXPECT_EQ(drv.pendingScripts(), 0);
}

TEST(ModalChain, TitleBarCloseRunsNoHandlerOfTheWindow) {
    Driver drv;
    TOpenerF opener;
    drv.show(opener);
    QString resultAtClose;
    drv.expectModal<TChildF>([&](TChildF& f) {
        drv.closeByTitleBar(f);
        EXPECT_FALSE(f.isOpen());
        resultAtClose = f.result;
    });
    drv.click(opener.Btn_Open);
    EXPECT_EQ(resultAtClose, QStringLiteral("show done"));   // Btn_OKClick never ran
    EXPECT_EQ(opener.after, QStringLiteral("cleared"));
}

TEST(ModalChain, WindowClosedByItsShowHandlerReturnsAtOnce) {
    Driver drv;
    TOpenerF opener;
    drv.show(opener);
    // The show handler runs when the window shows, so it is set through the owner.
    struct Closer : TChildF {
        explicit Closer(Form* o) : TChildF(o) { closeInShow = true; }
    };
    Closer* var = nullptr;
    bool scriptSawClosed = false;
    drv.expectModal<Closer>([&](Closer& f) { scriptSawClosed = !f.isOpen(); });
    openModal(var, &opener);
    EXPECT_TRUE(scriptSawClosed);
    EXPECT_EQ(var, nullptr);
}

TEST(ModalChain, UnscriptedWindowFailsTheTestInsteadOfWaiting) {
    EXPECT_NONFATAL_FAILURE(
        {
            Driver drv;
            TOpenerF opener;
            drv.show(opener);
            drv.click(opener.Btn_Open);
            EXPECT_EQ(opener.after, QStringLiteral("cleared"));
        },
        "unscripted modal window TChildF");
}

TEST(ModalChain, WrongWindowAndUnusedScriptFail) {
    EXPECT_NONFATAL_FAILURE(
        {
            Driver drv;
            TOpenerF opener;
            drv.show(opener);
            drv.expectModal(QStringLiteral("OtherF"), [](Form&) {});
            drv.click(opener.Btn_Open);
        },
        "the script expected OtherF");
    EXPECT_NONFATAL_FAILURE({
        Driver drv;
        drv.expectModal(QStringLiteral("OtherF"), [](Form&) {});
    }, "was expected but never shown");
}

TEST(ModalChain, ScriptLeavingTheWindowOpenFails) {
    EXPECT_NONFATAL_FAILURE(
        {
            Driver drv;
            TOpenerF opener;
            drv.show(opener);
            drv.expectModal<TChildF>([](TChildF&) {});
            drv.click(opener.Btn_Open);
        },
        "left it open");
}

TEST(ModalChain, NestedWindowsRunInOrder) {
    Driver drv;
    TOpenerF opener;
    drv.show(opener);
    struct TMiddleF : TOpenerF {};
    QStringList order;
    drv.expectModal<TChildF>([&](TChildF& outer) {
        order << QStringLiteral("outer");
        TChildF* inner = nullptr;
        drv.expectModal<TChildF>([&](TChildF& f) {
            order << QStringLiteral("inner");
            EXPECT_EQ(f.owner(), &outer);
            drv.click(f.Btn_OK);
        });
        openModal(inner, &outer);
        order << QStringLiteral("back");
        drv.click(outer.Btn_OK);
    });
    drv.click(opener.Btn_Open);
    EXPECT_EQ(order, (QStringList{QStringLiteral("outer"), QStringLiteral("inner"),
                                  QStringLiteral("back")}));
}

TEST(ErrorGuard, HandlerErrorShowsErrorBoxWithFullStopAndWindowStays) {
    Driver drv;
    TOpenerF opener;
    drv.show(opener);
    drv.expectModal<TChildF>([&](TChildF& f) {
        drv.click(f.Btn_Fail);
        EXPECT_TRUE(f.isOpen());
        EXPECT_EQ(f.result, QStringLiteral("half"));   // what the handler did before the error stays
        auto boxes = drv.takeBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].kind, tolvane::ui::testing::ShownBox::Kind::Error);
        // Already ends in a full stop: none added.
        EXPECT_EQ(boxes[0].text, QStringLiteral("lock conflict on no wait transaction."));
        EXPECT_EQ(boxes[0].ownerName, QStringLiteral("ChildF"));
        drv.click(f.Btn_OK);
    });
    drv.click(opener.Btn_Open);
}

TEST(ErrorGuard, FailedShowHandlerStillShowsTheWindow) {
    Driver drv;
    TOpenerF opener;
    drv.show(opener);
    struct Failing : TChildF {
        explicit Failing(Form* o) : TChildF(o) { failShow = true; }
    };
    Failing* var = nullptr;
    drv.expectModal<Failing>([&](Failing& f) {
        EXPECT_EQ(drv.takeErrors(), QStringList{QStringLiteral("no such table.")});
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(f.result, QStringLiteral("shown"));
        drv.click(f.Btn_OK);
        EXPECT_EQ(f.result, QStringLiteral("ok"));
    });
    openModal(var, &opener);
}

TEST(ErrorGuard, FullStopRule) {
    EXPECT_EQ(withFullStop(QStringLiteral("abc")), QStringLiteral("abc."));
    EXPECT_EQ(withFullStop(QStringLiteral("abc.")), QStringLiteral("abc."));
    EXPECT_EQ(withFullStop(QStringLiteral("失敗しました。")), QStringLiteral("失敗しました。"));
    EXPECT_EQ(withFullStop(QString()), QString());
}

TEST(ErrorGuard, UnreadBoxFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            Driver drv;
            platform().messageBox(nullptr, QStringLiteral("変更しました"));
        },
        "message box not read by the test");
}

TEST(FormProperties, SizeColourFontAndPlacement) {
    Driver drv;
    TOpenerF opener;
    opener.setColor(QColor(192, 248, 201));
    opener.setFontPx(16);
    opener.setCaption(QStringLiteral("釣果記録"));
    drv.show(opener);
    EXPECT_EQ(opener.size(), QSize(400, 300));
    EXPECT_EQ(opener.minimumSize(), opener.maximumSize());
    EXPECT_EQ(opener.color(), QColor(192, 248, 201));
    EXPECT_EQ(opener.font().pixelSize(), 16);
    EXPECT_EQ(opener.windowTitle(), QStringLiteral("釣果記録"));
    drv.expectModal<TChildF>([&](TChildF& f) {
        // Centred on the owner: the frames' centres agree within a pixel.
        const QPoint d = f.frameGeometry().center() - opener.frameGeometry().center();
        EXPECT_LE(std::abs(d.x()), 1);
        EXPECT_LE(std::abs(d.y()), 1);
        drv.click(f.Btn_OK);
    });
    drv.click(opener.Btn_Open);
}

TEST(FormProperties, WidthOfAFixedWindowCanBeChangedByTheProgram) {
    Form f(nullptr, QStringLiteral("New_Shio_InF"));
    f.setMinClientSize(690, 560);
    f.setWidth(990);
    EXPECT_EQ(f.width(), 990);
    f.setFixedClientSize(400, 400);
    f.setWidth(500);
    EXPECT_EQ(f.width(), 500);
    EXPECT_EQ(f.minimumWidth(), 500);
}

TEST(FormProperties, FindControlByName) {
    TOpenerF f;
    auto* p = new Panel(&f, QStringLiteral("Panel1"), 0, 0, 100, 100);
    auto* b = new Button(p, QStringLiteral("Btn_M01"), QStringLiteral("1"), 0, 0, 20, 20);
    EXPECT_EQ(f.findControl<Button>(QStringLiteral("Btn_M01")), b);
    EXPECT_EQ(f.findControl<Edit>(QStringLiteral("Btn_M01")), nullptr);
    EXPECT_EQ(f.findControl(QStringLiteral("nothing")), nullptr);
}

TEST(FormPlacement, FrameStaysInsideTheAvailableArea) {
    // A 960 x 710 window framed by a 26-pixel title bar and 1-pixel edges.
    const QSize frame(962, 738);
    // A 1280 x 720 screen with a 40-pixel panel at the bottom, then at the top.
    const QRect bottomPanel(0, 0, 1280, 680), topPanel(0, 40, 1280, 680);
    EXPECT_EQ(framePosition(frame, bottomPanel, bottomPanel), QPoint(159, 0));
    EXPECT_EQ(framePosition(frame, topPanel, topPanel), QPoint(159, 40));
    // Room enough: centred as before.
    EXPECT_EQ(framePosition(QSize(402, 328), bottomPanel, bottomPanel), QPoint(439, 176));
    // Centred on an owner near the right and bottom edges: moved back in.
    EXPECT_EQ(framePosition(QSize(602, 508), QRect(1000, 500, 300, 200), bottomPanel), QPoint(678, 172));
    // Centred on an owner above the area (a window dragged up): moved down.
    EXPECT_EQ(framePosition(QSize(302, 428), QRect(100, -300, 400, 300), topPanel), QPoint(149, 40));
    // On a second screen to the right.
    EXPECT_EQ(framePosition(frame, QRect(1280, 0, 1366, 728), QRect(1280, 0, 1366, 728)), QPoint(1482, 0));
}

TEST(FormPlacement, ScreenLargeEnoughKeepsTheWindowAsDesigned) {
    Driver drv;
    TOpenerF opener;
    drv.show(opener);
    EXPECT_FALSE(opener.scrolled());
    EXPECT_EQ(opener.Btn_Open->parentWidget(), &opener);
    EXPECT_TRUE(opener.screen()->availableGeometry().contains(opener.frameGeometry()));
}
