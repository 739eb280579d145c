// How a procedure on its worker thread reaches the windows: each call is
// carried out on the window thread, between two of its messages, while the
// worker waits for it; and the window side's own tick, on which it paints
// what the procedure reported last. Made on the window thread, whose
// messages carry the calls (a message-only window of its own).
#pragma once

#include "services/Win32Files.h"
#include "windows/RunSignals.h"
#include "windows/Window.h"

#include <exception>
#include <functional>

class WindowThreadCalls {
public:
    // A call that comes while `hold` is held waits until it is not.
    explicit WindowThreadCalls(const ProcedureHold& hold);
    ~WindowThreadCalls();
    WindowThreadCalls(const WindowThreadCalls&) = delete;
    WindowThreadCalls& operator=(const WindowThreadCalls&) = delete;

    bool OnWindowThread() const;

    // Runs `call` on the window thread and returns once it has run; what it
    // threw is thrown here. On the window thread it runs at once. One
    // worker calls at a time.
    void Run(const std::function<void()>& call);

    // `tick` runs on the window thread every `milliseconds` until the ticks
    // stop (or start again with another). A call that comes while a tick
    // pumps waits until the tick has ended, so that what the tick set is
    // seen before the call changes it; a tick that comes inside a tick or
    // a call is left out, for the same reason.
    void StartTicks(unsigned milliseconds, std::function<void()> tick);
    void StopTicks();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void RunPending();
    void Tick();

    const ProcedureHold& hold_;
    DWORD thread_;
    WindowHandle window_;
    KernelHandle done_;  // set once the pending call has run
    SRWLOCK lock_ = SRWLOCK_INIT;
    const std::function<void()>* pending_ = nullptr;
    std::exception_ptr failure_;
    std::function<void()> tick_;
    bool ticking_ = false;
    bool inTick_ = false;
    bool inCall_ = false;
    bool callAfterTick_ = false;
};
