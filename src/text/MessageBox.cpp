#include "text/MessageBox.h"

#include "text/UserDialogs.h"

#include <vector>

namespace {

HWND applicationWindow = nullptr;

// The program's own top-level windows that are enabled now: those made by
// this module on this thread (not the system's IME windows).
std::vector<HWND> EnabledProgramWindows()
{
    std::vector<HWND> windows;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) -> BOOL {
            const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
            if (instance == GetModuleHandleA(nullptr) && IsWindowEnabled(window))
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

}  // namespace

void SetApplicationWindow(HWND window)
{
    applicationWindow = window;
}

HWND ApplicationWindow()
{
    return applicationWindow;
}

int ShowMessageBox(const std::string& text, const std::string& caption, uint16_t flags)
{
    HWND active = GetActiveWindow();
    // Disabled windows take no input, so the progress window's abort button
    // cannot be pressed while the box is up.
    const std::vector<HWND> disabled = EnabledProgramWindows();
    for (HWND window : disabled) EnableWindow(window, FALSE);
    const int answer = CurrentUserDialogs().ShowBox(applicationWindow, text, caption, flags);
    for (HWND window : disabled) EnableWindow(window, TRUE);
    if (active != nullptr && IsWindow(active)) SetActiveWindow(active);
    return answer;
}
