// The hook library that the walk-through puts into a SETUP.EXE (a thread
// hook on the calls of its window procedures). When the walk-through has
// asked for it, it holds the program's thread at the moment its next dialog
// (a message box or the confirmation dialog) is about to show, until the
// walk-through has taken its picture of the screen as it was. The progress
// window never waits for the user: without the hold it would be gone, or
// half drawn, before a picture could be taken.
#include "HoldEvents.h"

#include "services/Win32Files.h"

#include <windows.h>

namespace {

// The walk-through answers at once; should it be gone, the program goes on.
constexpr DWORD HoldLimit = 60000;

bool DialogAboutToShow(const CWPSTRUCT& call)
{
    if (call.message != WM_SHOWWINDOW || call.wParam == FALSE) return false;
    if (GetAncestor(call.hwnd, GA_ROOT) != call.hwnd) return false;
    char name[32] = {};
    GetClassNameA(call.hwnd, name, sizeof name);
    return lstrcmpA(name, "#32770") == 0 || lstrcmpA(name, "TfrmCustomDlg") == 0;
}

KernelHandle OpenHoldEvent(const char* role)
{
    const std::string name = HoldEventName(GetCurrentProcessId(), role);
    return KernelHandle(OpenEventA(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE, name.c_str()));
}

void HoldIfAsked()
{
    KernelHandle asked = OpenHoldEvent("asked");
    if (!asked || WaitForSingleObject(asked.Get(), 0) != WAIT_OBJECT_0) return;
    ResetEvent(asked.Get());
    KernelHandle held = OpenHoldEvent("held");
    KernelHandle released = OpenHoldEvent("released");
    if (!held || !released) return;
    SetEvent(held.Get());
    WaitForSingleObject(released.Get(), HoldLimit);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK HoldBeforeDialog(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && DialogAboutToShow(*reinterpret_cast<const CWPSTRUCT*>(lParam))) HoldIfAsked();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
