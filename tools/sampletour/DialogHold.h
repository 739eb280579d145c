// The walk-through's side of the hold hook (HoldHook.cpp): it hooks the
// thread of a running SETUP.EXE, and on request has that thread held just
// before its next dialog shows, while a picture is taken.
#pragma once

#include "services/UniqueResource.h"
#include "services/Win32Files.h"

#include <windows.h>

struct HookTraits {
    using Type = HHOOK;
    static Type Empty() { return nullptr; }
    static void Release(Type hook) { UnhookWindowsHookEx(hook); }
};
using HookHandle = UniqueResource<HookTraits>;

class DialogHold {
public:
    // Hooks the thread that runs `window` (a window of the SETUP.EXE).
    explicit DialogHold(HWND window);
    ~DialogHold();
    DialogHold(const DialogHold&) = delete;
    DialogHold& operator=(const DialogHold&) = delete;

    bool Ready() const { return hook_.Valid() && asked_ && held_ && released_; }
    // The next dialog about to show holds the thread.
    void Ask();
    // Waits until the thread is held; false when that did not come in time.
    bool WaitHeld(DWORD timeout);
    // Lets the held thread go on.
    void Release();

private:
    ModuleHandle library_;
    HookHandle hook_;
    KernelHandle asked_;
    KernelHandle held_;
    KernelHandle released_;
};
