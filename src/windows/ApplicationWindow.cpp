#include "windows/ApplicationWindow.h"

#include "windows/MessageBox.h"

namespace {

const char* ApplicationClass()
{
    static const char* const name = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TApplication";
        RegisterClassA(&windowClass);
        return "TApplication";
    }();
    return name;
}

}  // namespace

HiddenApplicationWindow::HiddenApplicationWindow()
{
    // No size, in the middle of the screen: the windows it owns stay in front
    // of it, and the background covers it.
    handle_.Reset(CreateWindowExA(0, ApplicationClass(), ApplicationTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                  GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
    SetApplicationWindow(Handle());
}

HiddenApplicationWindow::~HiddenApplicationWindow()
{
    if (::ApplicationWindow() == Handle()) SetApplicationWindow(nullptr);
}

void HiddenApplicationWindow::ShowTaskBarButton()
{
    ShowWindow(Handle(), SW_SHOWNA);
}

std::string ExecutablePath()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}
