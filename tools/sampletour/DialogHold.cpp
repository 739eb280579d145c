#include "DialogHold.h"

#include "HoldEvents.h"
#include "support/Fixtures.h"

DialogHold::DialogHold(HWND window)
{
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(window, &process);
    if (thread == 0) return;
    asked_.Reset(CreateEventA(nullptr, TRUE, FALSE, HoldEventName(process, "asked").c_str()));
    held_.Reset(CreateEventA(nullptr, FALSE, FALSE, HoldEventName(process, "held").c_str()));
    released_.Reset(CreateEventA(nullptr, FALSE, FALSE, HoldEventName(process, "released").c_str()));
    library_.Reset(LoadLibraryA((ProgramFolder() + HoldHookLibrary).c_str()));
    if (!library_) return;
    auto procedure = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(library_.Get(), HoldHookProcedure)));
    if (procedure != nullptr) hook_.Reset(SetWindowsHookExA(WH_CALLWNDPROC, procedure, library_.Get(), thread));
}

DialogHold::~DialogHold()
{
    // A thread still held or about to be must never wait for nothing.
    if (asked_) ResetEvent(asked_.Get());
    Release();
}

void DialogHold::Ask()
{
    SetEvent(asked_.Get());
}

bool DialogHold::WaitHeld(DWORD timeout)
{
    return WaitForSingleObject(held_.Get(), timeout) == WAIT_OBJECT_0;
}

void DialogHold::Release()
{
    if (released_) SetEvent(released_.Get());
}
