// What the windows and the procedures tell each other about the run, as
// values: the abort the person confirmed, whether the run has ended so
// that closing the main window asks nothing more, and the hold the window
// side puts on a procedure while it asks the person something of its own.
// (The windows still look as they always did: the main window is disabled
// by the abort, the background enabled at the end; nothing reads those
// states any more.)
#pragma once

#include <windows.h>

#include <atomic>

// While the window side asks the person something of its own (the abort
// question and the box that follows it), a procedure on its worker thread
// waits at its next call, as it did when it ran on the window thread and
// the box stopped it. Holds nest.
class ProcedureHold {
public:
    ProcedureHold() = default;
    ProcedureHold(const ProcedureHold&) = delete;
    ProcedureHold& operator=(const ProcedureHold&) = delete;

    // Held for as long as it lives (on the window thread).
    class Scope {
    public:
        explicit Scope(ProcedureHold& hold);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        ProcedureHold& hold_;
    };

    bool Held() const;
    // Returns at once when not held; otherwise once the last hold ended.
    void WaitWhileHeld();

private:
    mutable SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE released_ = CONDITION_VARIABLE_INIT;
    int holds_ = 0;
};

struct RunSignals {
    // Set on the window thread, read by the procedure between two items.
    std::atomic<bool> abortRequested = false;
    // The window thread's alone.
    bool mayEndWithoutAsking = false;
    ProcedureHold hold;
};
