// The bare figures for the start and exit benchmark, printed as start_hooks
// does: "window" shows a plain Qt window and closes it; "attach" attaches
// both database files of the current directory through the database layer
// (user kvo) and detaches them.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "db/fb.h"

namespace {
long long nowNs() {
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}
}  // namespace

int main(int argc, char** argv) {
    tolvane::db::settleEnvironment();   // before the first thread, as the program does
    if (argc > 1 && std::strcmp(argv[1], "attach") == 0) {
        {
            tolvane::db::Connection memo, catchData;
            catchData.databaseName = "SORVENDA.FDB";
            memo.databaseName = "KELDMARK.FDB";
            catchData.ensureConnected();
            memo.ensureConnected();
            std::printf("ready %lld\n", nowNs());
            std::printf("closing %lld\n", nowNs());
            std::fflush(stdout);
        }
        return 0;
    }
    QApplication app(argc, argv);
    QWidget w;
    w.resize(600, 480);
    w.show();
    QTimer::singleShot(0, [&] {
        std::printf("ready %lld\n", nowNs());
        std::fflush(stdout);
        QTimer::singleShot(300, [&] {
            std::printf("closing %lld\n", nowNs());
            std::fflush(stdout);
            w.close();
        });
    });
    return QApplication::exec();
}
