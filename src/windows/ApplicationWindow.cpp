#include "windows/ApplicationWindow.h"

#include "text/Unicode.h"
#include "windows/MessageBox.h"
#include "windows/Window.h"

#include <vector>

namespace {

const wchar_t* ApplicationClass()
{
    static const wchar_t* const name = PlainWindowClass(L"TApplication");
    return name;
}

}  // namespace

HiddenApplicationWindow::HiddenApplicationWindow()
{
    // No size, in the middle of the screen: the windows it owns stay in front
    // of it, and the background covers it.
    handle_.Reset(CreateWindowExW(0, ApplicationClass(), WideFromShiftJis(ApplicationTitle).c_str(),
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU, GetSystemMetrics(SM_CXSCREEN) / 2,
                                  GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr),
                                  nullptr));
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

std::wstring ExecutableWidePath()
{
    // The buffer grows until the whole path fits (long paths exceed
    // MAX_PATH); a cut-short path would name another file.
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        std::vector<wchar_t> path(size, L'\0');
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), size);
        if (length == 0) return {};
        if (length < size) return std::wstring(path.data(), length);
    }
    return {};
}

std::optional<std::string> ExecutablePath()
{
    const std::wstring path = ExecutableWidePath();
    if (path.empty()) return std::nullopt;
    return ShiftJisFromWide(path);
}
