#include "windows/MessageBox.h"

#include "windows/ProgramModality.h"
#include "windows/UserDialogs.h"

namespace {

HWND applicationWindow = nullptr;

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
    ProgramModality modality(ProgramModality::Scope::AllEnabled);
    return CurrentUserDialogs().ShowBox(applicationWindow, text, caption, flags);
}
