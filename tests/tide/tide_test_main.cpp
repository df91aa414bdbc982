// Test main for the tide windows: offscreen on a screen large enough for the
// charts the tests open (the default offscreen screen is 800 x 800), unless
// the caller chose another platform.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <QApplication>
#include <gtest/gtest.h>

#include "support/test_databases.h"

int main(int argc, char** argv) {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    std::filesystem::path configDir;
    if (platform == nullptr || std::string(platform) == "offscreen") {
        configDir = tolvane::test::makeTempDir("tolvane-tide-screen-");
        const auto config = configDir / "screen.json";
        std::ofstream(config) << R"({"screens":[{"name":"wide","x":0,"y":0,"width":1600,)"
                              << R"("height":1200,"logicalDpiX":96,"logicalDpiY":96}]})";
        setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config.string()).c_str(), 1);
    }
    tolvane::test::prepareFirebirdEnvironment();
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    if (!configDir.empty()) std::filesystem::remove_all(configDir);   // read by now
    return RUN_ALL_TESTS();
}
