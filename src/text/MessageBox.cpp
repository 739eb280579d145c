#include "text/MessageBox.h"

#include "text/UserDialogs.h"

#include <vector>

namespace {

HWND applicationWindow = nullptr;

// The program's top-level windows that take input now: every enabled
// top-level window of the user-interface thread, whatever module created it.
// The system's own windows on the thread (the IME window) are disabled
// already and so are left alone.
std::vector<HWND> EnabledProgramWindows()
{
    std::vector<HWND> windows;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) -> BOOL {
            if (IsWindowEnabled(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// Makes the whole program modal to one box: disables the windows on
// construction and, on destruction, re-enables exactly those and gives
// activation and keyboard focus back, whatever way the box ended (an answer,
// a failure of the box, or an exception out of a stand-in responder).
class ProgramModality {
public:
    ProgramModality() : active_(GetActiveWindow()), focus_(GetFocus()), disabled_(EnabledProgramWindows())
    {
        for (HWND window : disabled_) EnableWindow(window, FALSE);
    }

    ~ProgramModality()
    {
        for (HWND window : disabled_)
            if (IsWindow(window)) EnableWindow(window, TRUE);
        if (active_ != nullptr && IsWindow(active_)) SetActiveWindow(active_);
        // Disabling the window took the focus from its control.
        if (focus_ != nullptr && IsWindow(focus_) && IsWindowEnabled(focus_) && IsWindowVisible(focus_))
            SetFocus(focus_);
    }

    ProgramModality(const ProgramModality&) = delete;
    ProgramModality& operator=(const ProgramModality&) = delete;

private:
    HWND active_;
    HWND focus_;
    std::vector<HWND> disabled_;
};

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
    // Disabled windows take no input, so the progress window's abort button
    // cannot be pressed while the box is up.
    ProgramModality modality;
    return CurrentUserDialogs().ShowBox(applicationWindow, text, caption, flags);
}
