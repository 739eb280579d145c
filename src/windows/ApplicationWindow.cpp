#include "windows/ApplicationWindow.h"

#include "text/MessageBox.h"

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
    handle_.Reset(CreateWindowExA(0, ApplicationClass(), ApplicationTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0,
                                  0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
    SetApplicationWindow(Handle());
}

HiddenApplicationWindow::~HiddenApplicationWindow()
{
    if (::ApplicationWindow() == Handle()) SetApplicationWindow(nullptr);
}
