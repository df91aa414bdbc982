// The screen window tests run on. The offscreen platform's one screen is
// 800 x 800 unless told otherwise; the windows as designed need more.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace tolvane::test {

// The arguments to make the QApplication with: the program's own, and when
// the platform is the offscreen one (QT_QPA_PLATFORM "offscreen"), a
// -platform argument pointing it at a configuration whose one screen is
// TOLVANE_TEST_SCREEN pixels ("1280x720"), by default 1920 x 1200: a desktop
// large enough for every window at its designed size. Processes the tests
// start keep the plain platform. The configuration file is removed when the
// object goes.
//     OffscreenScreen screen(argc, argv);
//     QApplication app(screen.argc, screen.argv);
class OffscreenScreen {
public:
    OffscreenScreen(int argc, char** argv);
    int argc;
    char** argv;
    ~OffscreenScreen();
    OffscreenScreen(const OffscreenScreen&) = delete;
    OffscreenScreen& operator=(const OffscreenScreen&) = delete;

private:
    QString file_;
    std::vector<QByteArray> args_;
    std::vector<char*> argv_;
};

}  // namespace tolvane::test
