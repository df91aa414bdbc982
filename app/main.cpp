// Program entry: creates the data module and the main window and runs the
// message loop. Reads no argument, and of the environment only what the
// engine needs: its lock directory (FIREBIRD_LOCK, XDG_RUNTIME_DIR, TMPDIR),
// its root (FIREBIRD) and the locale its file names are converted by; and
// the window system's choice (QT_QPA_PLATFORM, DISPLAY).
#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSocketNotifier>
#include <QTranslator>

#include "core/DM_1.h"
#include "app/Main_F.h"
#include "db/fb.h"
#include "imaging/codec.h"
#include "ui/form.h"
#include "ui/window_system.h"

namespace {

// The main thread, in whatever loop it waits - the main window's, a modal
// window's, a box's or the picture-open dialog's - sees a TERM or INT signal
// and ends the process from there: both files are detached (every write was
// committed when it was made; whatever a handler had not committed is rolled
// back), the engine closes them, and the process ends with status 0 at once.
// No further line of the handler that opened the window or box runs, so
// nothing is stored or deleted on the strength of a box nobody answered.
[[noreturn]] void endOnSignal() {
    freeDataModule();
    tolvane::db::shutdownEngine();
    std::fflush(nullptr);
    std::_Exit(0);
}

}  // namespace

int main(int argc, char** argv) {
    // The engine's lock files go to a directory of this user's own, not to the
    // /tmp/firebird every user shares, unless FIREBIRD_LOCK names one; the
    // Firebird 3 engine is the one loaded, whatever client library the
    // release has; ':' paths and any locale work for the files' names. All of
    // it changes the environment or the locale, so it is settled here, before
    // the application object starts the first thread.
    tolvane::db::settleEnvironment();

    // Ctrl+C or a TERM signal (a desktop logout sends one) ends the program:
    // caught from the start, delivered to the pipe once the application object
    // has set the locale, acted on once the main thread waits for events.
    const int signalPipe = tolvane::db::catchTerminationSignals();

    // Where no platform is named and an X display is there, the program runs
    // on X, Wayland desktops included (ui/window_system.h).
    argv = tolvane::ui::choosePlatform(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvane"));
    tolvane::db::deliverTerminationSignals();

    // The standard dialogs (picture-open dialog, message box buttons) speak
    // Japanese like the rest of the program.
    QTranslator qtJapanese;
    if (qtJapanese.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtJapanese);

    QSocketNotifier signalNotifier(signalPipe, QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, [] { endOnSignal(); });

    // Pictures up to the largest one a record may store can be pasted from
    // the clipboard, not only loaded from a file.
    tolvane::pictures::allowPicturesUpToMaxPixels();

    createDataModule();
    int rc = 0;
    {
        TMainF mainF;
        MainF = &mainF;
        mainF.showMain(true);
        rc = QApplication::exec();
        MainF = nullptr;
    }
    freeDataModule();
    // Both files are detached: end the engine now rather than in the
    // library's exit handler, which takes longer.
    tolvane::db::shutdownEngine();
    return rc;
}
