// Test main for tests that create widgets. ctest discovers the cases by
// running the binary at build time, so the platform must be offscreen unless
// the caller chose another one (xcb under Xvfb, for screenshots). Offscreen,
// the screen is made large enough for every window as designed.
#include <cstdlib>

#include <QApplication>
#include <gtest/gtest.h>

#include "support/screens.h"
#include "support/test_databases.h"

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    tolvane::test::prepareFirebirdEnvironment();
    ::testing::InitGoogleTest(&argc, argv);
    tolvane::test::OffscreenScreen screen(argc, argv);
    QApplication app(screen.argc, screen.argv);
    return RUN_ALL_TESTS();
}
