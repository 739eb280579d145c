// The pauses of the procedures. The shipped program sleeps; tests install a
// clock that only records the pauses, so that a run takes no wall time.
#pragma once

class Clock {
public:
    virtual ~Clock() = default;
    virtual void Sleep(unsigned long milliseconds) = 0;
};

// Blocks the thread for the given time without pumping messages.
void Wait(unsigned long milliseconds);

// Installs `clock` for the rest of the process; nullptr goes back to the
// system's sleep. Installed before a run starts: the pauses then happen on
// one thread at a time (a procedure's worker, or the window thread while
// the worker waits for it).
void InstallClock(Clock* clock);
