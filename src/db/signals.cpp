// SIGINT and SIGTERM: no handler runs for them anywhere in the process. Both
// are blocked in every thread; one thread of our own waits for them with
// sigwait() and writes the signal's number as a byte to a pipe, which the
// program watches and then ends itself on its main thread.
//
// The client library takes both signals at the first attach of the process:
// it puts its own handler in front and wakes a thread of its own, which shuts
// the engine down - every attachment gone - and leaves the process running.
// That thread is started before the library has made it ready, and now and
// then it has already ended by then; from then on the library's handler does
// nothing at all, every time. Blocked signals never reach that handler, and
// its shutdown on a signal is refused as well. A handler of our own would not
// do either: a signal handled while the main thread waited in poll() left the
// engine spinning in its next detach.
#include "db/fb.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "db/fb_detail.h"

namespace tolvane::db {

namespace {

int signalPipe[2] = {-1, -1};

sigset_t terminationSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

void waitForSignals() {
    const sigset_t set = terminationSignals();
    for (;;) {
        int signalNumber = 0;
        if (sigwait(&set, &signalNumber) != 0) continue;
        const unsigned char byte = static_cast<unsigned char>(signalNumber);
        // A full pipe already holds a signal that has not been read yet.
        [[maybe_unused]] const ssize_t written = write(signalPipe[1], &byte, 1);
    }
}

// The library's own shutdown on a signal would close every attachment under
// the program, which then runs on without its files.
int refuseShutdownOnSignal(const int reason, const int, void*) {
    return reason == fb_shutrsn_signal ? 1 : 0;
}

}  // namespace

int catchTerminationSignals() {
    if (signalPipe[0] >= 0) return signalPipe[0];
    // Threads started from here on (the library's, the window system's, the
    // engine's) inherit the mask.
    const sigset_t set = terminationSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        throw Error(std::string("No pipe for the termination signals: ") + std::strerror(errno));
    ISC_STATUS_ARRAY status;
    if (fb_shutdown_callback(status, refuseShutdownOnSignal, fb_shut_confirmation, nullptr)) {
        close(fds[0]);
        close(fds[1]);
        detail::throwStatus(status);
    }
    signalPipe[0] = fds[0];
    signalPipe[1] = fds[1];
    return signalPipe[0];
}

void deliverTerminationSignals() {
    static bool started = false;
    if (started || signalPipe[1] < 0) return;
    started = true;
    // A signal that came before waits, blocked, for this thread's sigwait().
    std::thread(waitForSignals).detach();
}

void unblockSignalsInChild() {
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
}

}  // namespace tolvane::db
