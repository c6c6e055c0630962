#include "platform/StopSignals.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace StopSignals {

namespace {

constexpr int Handled[] = {SIGTERM, SIGINT, SIGHUP};

std::atomic<bool> runGoingOn {false};
volatile std::sig_atomic_t noted = 0;
int wakeUp[2] = {-1, -1};

// Only async-signal-safe calls here.
void onSignal(int signal)
{
    if (!runGoingOn.load()) {
        std::signal(signal, SIG_DFL);
        ::raise(signal);
        return;
    }
    noted = signal;
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeUp[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

void install()
{
    if (wakeUp[0] < 0 && ::pipe2(wakeUp, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action
    {
    };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // Reads and writes that the signal interrupts go on rather than fail.
    action.sa_flags = SA_RESTART;
    for (const int signal : Handled)
        ::sigaction(signal, &action, nullptr);
}

DuringRun::DuringRun()
{
    // Each run starts afresh: a signal noted by an earlier run ended the program after it.
    noted = 0;
    drain();
    runGoingOn = true;
}

DuringRun::~DuringRun()
{
    runGoingOn = false;
}

int received()
{
    return noted;
}

int wakeUpDescriptor()
{
    return wakeUp[0];
}

void drain()
{
    char bytes[64];
    while (wakeUp[0] >= 0 && ::read(wakeUp[0], bytes, sizeof bytes) > 0) { }
}

const char *nameOf(int signal)
{
    switch (signal) {
    case SIGTERM:
        return "SIGTERM";
    case SIGINT:
        return "SIGINT";
    case SIGHUP:
        return "SIGHUP";
    }
    return "a signal";
}

void endAsReceived()
{
    const int signal = noted;
    std::signal(signal, SIG_DFL);
    ::raise(signal);
    std::_Exit(128 + signal);
}

} // namespace StopSignals
