#include "windows/WindowThreadCalls.h"

#include "script/ScopeExit.h"
#include "windows/Window.h"

#include <stdexcept>

namespace {

constexpr UINT CallMessage = WM_APP + 1;
constexpr UINT_PTR TickTimer = 1;
// A call held back by the hold is tried again this often.
constexpr UINT_PTR RetryTimer = 2;
constexpr UINT RetryMilliseconds = 30;

const wchar_t* CallsClass()
{
    static const wchar_t* const name = PlainWindowClass(L"OrvaneWindowThreadCalls");
    return name;
}

}  // namespace

WindowThreadCalls::WindowThreadCalls(const ProcedureHold& hold)
    : hold_(hold), thread_(GetCurrentThreadId()), done_(CreateEventW(nullptr, FALSE, FALSE, nullptr))
{
    window_.Reset(CreateWindowExW(0, CallsClass(), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr));
    if (!window_ || !done_) throw std::runtime_error("The window thread's call window could not be made.");
    SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowThreadCalls::Procedure));
}

WindowThreadCalls::~WindowThreadCalls()
{
    StopTicks();
    SetWindowLongPtrW(window_.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW));
}

bool WindowThreadCalls::OnWindowThread() const
{
    return GetCurrentThreadId() == thread_;
}

void WindowThreadCalls::Run(const std::function<void()>& call)
{
    if (OnWindowThread()) {
        call();
        return;
    }
    AcquireSRWLockExclusive(&lock_);
    pending_ = &call;
    failure_ = nullptr;
    ReleaseSRWLockExclusive(&lock_);
    if (!PostMessageW(window_.Get(), CallMessage, 0, 0))
        throw std::runtime_error("A call could not be sent to the window thread.");
    WaitForSingleObject(done_.Get(), INFINITE);
    AcquireSRWLockExclusive(&lock_);
    const std::exception_ptr failure = std::exchange(failure_, nullptr);
    ReleaseSRWLockExclusive(&lock_);
    if (failure) std::rethrow_exception(failure);
}

void WindowThreadCalls::StartTicks(unsigned milliseconds, std::function<void()> tick)
{
    tick_ = std::move(tick);
    ticking_ = SetTimer(window_.Get(), TickTimer, milliseconds, nullptr) != 0;
}

void WindowThreadCalls::StopTicks()
{
    if (ticking_) KillTimer(window_.Get(), TickTimer);
    ticking_ = false;
    tick_ = nullptr;
}

// The call runs where the message finds the window thread (its own loop, a
// box's, a pump inside an earlier step), as the procedure's steps ran when
// they were on this thread.
void WindowThreadCalls::RunPending()
{
    if (hold_.Held()) {
        SetTimer(window_.Get(), RetryTimer, RetryMilliseconds, nullptr);
        return;
    }
    if (inTick_) {
        callAfterTick_ = true;
        return;
    }
    KillTimer(window_.Get(), RetryTimer);
    AcquireSRWLockExclusive(&lock_);
    const std::function<void()>* call = std::exchange(pending_, nullptr);
    ReleaseSRWLockExclusive(&lock_);
    if (call == nullptr) return;
    std::exception_ptr failure;
    inCall_ = true;
    try {
        (*call)();
    } catch (...) {
        failure = std::current_exception();
    }
    inCall_ = false;
    AcquireSRWLockExclusive(&lock_);
    failure_ = failure;
    ReleaseSRWLockExclusive(&lock_);
    SetEvent(done_.Get());
}

// A tick that a call's own pump finds runs inside it; the tick is left to
// set what it reads before it pumps.
void WindowThreadCalls::Tick()
{
    if (inTick_ || inCall_) return;
    // (A copy: the ticks may stop inside it.)
    const std::function<void()> tick = tick_;
    if (!tick) return;
    inTick_ = true;
    ScopeExit after([this] {
        inTick_ = false;
        if (std::exchange(callAfterTick_, false)) PostMessageW(window_.Get(), CallMessage, 0, 0);
    });
    tick();
}

LRESULT CALLBACK WindowThreadCalls::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* calls = reinterpret_cast<WindowThreadCalls*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (calls != nullptr) {
        if (message == CallMessage || (message == WM_TIMER && wParam == RetryTimer)) {
            calls->RunPending();
            return 0;
        }
        if (message == WM_TIMER && wParam == TickTimer) {
            calls->Tick();
            return 0;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
