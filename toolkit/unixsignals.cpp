#include "unixsignals.h"

#include "errors.h"
#include "report.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

#include <sys/socket.h>
#include <unistd.h>

namespace toolkit {

namespace {

// Written by the handler, read by the notifier; both ends non-blocking, so the
// handler never waits.
int writeEnd = -1;
int readEnd = -1;
std::atomic<bool> signalCame{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

// Async-signal-safe calls only.
extern "C" void onSignal(int signalNumber)
{
    if (signalCame.exchange(true)) {
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        sigemptyset(&fallback.sa_mask);
        ::sigaction(signalNumber, &fallback, nullptr);
        // The signal stays blocked until this handler returns; then its default
        // action ends the process.
        ::raise(signalNumber);
        return;
    }
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &number, 1);
    errno = savedErrno;
}

[[noreturn]] void fail(const char* what)
{
    throw RuntimeException(std::string("Cannot watch for signals: ") + what + ": " + std::strerror(errno));
}

} // namespace

void quitOnSignals(std::initializer_list<int> signalNumbers, std::function<void(int signalNumber)> quit)
{
    if (readEnd >= 0)
        throw RuntimeException("The signals are already watched");
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0)
        fail("socketpair");
    writeEnd = ends[0];
    readEnd = ends[1];

    auto* notifier = new QSocketNotifier(readEnd, QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [quit = std::move(quit)] {
        guard([&] {
            unsigned char number = 0;
            if (::read(readEnd, &number, 1) != 1)
                return;
            quit(number);
        });
    });

    struct sigaction action {};
    action.sa_handler = onSignal;
    // The handler runs with every watched signal blocked; interrupted calls resume.
    sigemptyset(&action.sa_mask);
    for (const int s : signalNumbers)
        sigaddset(&action.sa_mask, s);
    action.sa_flags = SA_RESTART;
    for (const int s : signalNumbers) {
        // A signal the program was started with ignored (nohup) stays ignored.
        struct sigaction inherited {};
        if (::sigaction(s, nullptr, &inherited) != 0)
            fail("sigaction");
        if (inherited.sa_handler == SIG_IGN)
            continue;
        if (::sigaction(s, &action, nullptr) != 0)
            fail("sigaction");
    }
}

} // namespace toolkit
