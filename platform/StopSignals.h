#pragma once

// SIGTERM, SIGINT and SIGHUP: a session that ends, a terminal that closes, Ctrl+C. Outside a
// cutting run they end the program at once, as they always did; during a run they are noted,
// so that the run stops as it does for a window that is being closed, and the program ends
// after it.
namespace StopSignals {

// Takes over the three signals for the rest of the program's life.
void install();

// While one lives, a run is going on and the signals are noted rather than obeyed.
class DuringRun
{
public:
    DuringRun();
    ~DuringRun();
    DuringRun(const DuringRun &) = delete;
    DuringRun &operator=(const DuringRun &) = delete;
};

// The signal noted during a run; 0 when none came.
int received();
// A descriptor that becomes readable when a signal is noted, so that a waiting event loop
// (a message box's) wakes up; read it empty with drain().
int wakeUpDescriptor();
void drain();
// The signal's name for a message ("SIGTERM").
const char *nameOf(int signal);
// Ends the program as the signal noted would have ended it.
[[noreturn]] void endAsReceived();

} // namespace StopSignals
