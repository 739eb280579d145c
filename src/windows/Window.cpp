#include "windows/Window.h"

#include "text/Unicode.h"

#include <vector>

const wchar_t* PlainWindowClass(const wchar_t* name)
{
    // The same name always registers the same class: a second registration
    // fails harmlessly, so no list of registered names is kept.
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
    return name;
}

std::string Window::Text() const
{
    // A character typed in that has no Shift-JIS form comes back as "?",
    // which no path accepts.
    const int length = GetWindowTextLengthW(Handle());
    if (length <= 0) return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(Handle(), buffer.data(), length + 1);
    return ShiftJisFromWideForDisplay(std::wstring(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0)));
}

void Window::SetText(const std::string& text)
{
    SetWindowTextW(Handle(), WideFromShiftJis(text).c_str());
    TextChanged();
}

bool Window::Enabled() const
{
    return IsWindowEnabled(Handle()) != FALSE;
}

void Window::SetEnabled(bool enabled)
{
    EnableWindow(Handle(), enabled ? TRUE : FALSE);
}

bool Window::Visible() const
{
    return (GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Window::SetVisible(bool visible)
{
    if (visible == Visible()) return;
    ShowWindow(Handle(), visible ? SW_SHOW : SW_HIDE);
}

Bounds Window::GetBounds() const
{
    RECT rect{};
    GetWindowRect(Handle(), &rect);
    HWND parent = (GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_CHILD) ? GetParent(Handle()) : nullptr;
    if (parent != nullptr) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void Window::SetBounds(const Bounds& bounds)
{
    SetWindowPos(Handle(), nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::SetLeft(int left)
{
    Bounds bounds = GetBounds();
    bounds.left = left;
    SetBounds(bounds);
}

void Window::SetTop(int top)
{
    Bounds bounds = GetBounds();
    bounds.top = top;
    SetBounds(bounds);
}

void Window::SetWidth(int width)
{
    Bounds bounds = GetBounds();
    bounds.width = width;
    SetBounds(bounds);
}

void Window::SetHeight(int height)
{
    Bounds bounds = GetBounds();
    bounds.height = height;
    SetBounds(bounds);
}
