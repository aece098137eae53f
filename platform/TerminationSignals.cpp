#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace {

// The signal only writes a byte; the event loop reads it.
int g_signalPipe[2] = {-1, -1};
volatile sig_atomic_t g_endRequested = 0;
volatile sig_atomic_t g_shields = 0;

void OnTerminationSignal(int signal)
{
    if (g_endRequested && g_shields == 0) {
        ::signal(signal, SIG_DFL);
        ::raise(signal);
        return;
    }
    g_endRequested = 1;
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
    errno = savedErrno;
}

}

void EndOnTerminationSignals(std::function<void()> end)
{
    if (g_signalPipe[0] >= 0 || ::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [end = std::move(end)] {
        char bytes[64];
        while (::read(g_signalPipe[0], bytes, sizeof bytes) > 0) {
        }
        end();
    });
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    // Calls the signal interrupts go on as if it had not come.
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        // Started with a signal ignored (nohup), the program keeps ignoring it.
        struct sigaction previous;
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        ::sigaction(signal, &action, nullptr);
    }
}

TerminationShield::TerminationShield()
{
    g_shields = g_shields + 1;
}

TerminationShield::~TerminationShield()
{
    g_shields = g_shields - 1;
}
