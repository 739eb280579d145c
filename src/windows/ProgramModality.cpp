#include "windows/ProgramModality.h"

namespace {

struct Search {
    ProgramModality::Scope scope;
    HWND modal;
    std::vector<HWND> found;
};

// The system's own windows on the thread (the IME window) are disabled
// already and so are left alone.
BOOL CALLBACK Visit(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    if (window == search->modal || !IsWindowEnabled(window)) return TRUE;
    if (search->scope == ProgramModality::Scope::VisibleOthers && !IsWindowVisible(window)) return TRUE;
    search->found.push_back(window);
    return TRUE;
}

}  // namespace

ProgramModality::ProgramModality(Scope scope, HWND modal) : active_(GetActiveWindow()), focus_(GetFocus())
{
    Search search{scope, modal, {}};
    EnumThreadWindows(GetCurrentThreadId(), &Visit, reinterpret_cast<LPARAM>(&search));
    disabled_ = std::move(search.found);
    for (HWND window : disabled_) EnableWindow(window, FALSE);
}

ProgramModality::~ProgramModality()
{
    for (HWND window : disabled_)
        if (IsWindow(window)) EnableWindow(window, TRUE);
    if (active_ != nullptr && IsWindow(active_) && IsWindowVisible(active_)) SetActiveWindow(active_);
    // Disabling the window took the focus from its control.
    if (focus_ != nullptr && IsWindow(focus_) && IsWindowEnabled(focus_) && IsWindowVisible(focus_)) SetFocus(focus_);
}
