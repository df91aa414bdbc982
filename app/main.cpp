// Program entry: creates the data module and the main window and runs the
// message loop. Reads no argument and no environment variable of its own.
#include <atomic>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMetaObject>
#include <QTranslator>

#include "core/DM_1.h"
#include "app/Main_F.h"
#include "db/fb.h"
#include "imaging/codec.h"
#include "ui/form.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvane"));

    // The standard dialogs (picture-open dialog, message box buttons) speak
    // Japanese like the rest of the program.
    QTranslator qtJapanese;
    if (qtJapanese.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtJapanese);

    // Ctrl+C or a TERM signal ends the program: the engine closes both files
    // (every write was committed when it was made, so nothing stored is lost)
    // and every window's loop ends.
    static std::atomic<bool> stopRequested{false};
    tolvane::db::onTerminationSignal([] {
        stopRequested = true;
        QMetaObject::invokeMethod(qApp, [] { QApplication::exit(0); }, Qt::QueuedConnection);
    });

    // Pictures up to the largest one a record may store can be pasted from
    // the clipboard, not only loaded from a file.
    tolvane::pictures::allowPicturesUpToMaxPixels();

    createDataModule();
    int rc = 0;
    {
        TMainF mainF;
        MainF = &mainF;
        // Showing the window runs its start sequence, which may already have
        // been ended by a signal (in a message box it showed).
        mainF.showMain(true);
        if (!stopRequested) rc = QApplication::exec();
        MainF = nullptr;
    }
    freeDataModule();
    // Both files are detached: end the engine now rather than in the
    // library's exit handler, which takes longer.
    tolvane::db::shutdownEngine();
    return rc;
}
