// The program's application window: the owner of every top-level window and
// message box. It has no size, so all that shows of it is its task-bar
// button, which carries the application's title and icon; the windows it
// owns have no button of their own.
#pragma once

#include "windows/Window.h"

#include <optional>
#include <string>

inline constexpr const char* ApplicationTitle = "Orvane Standard";

class HiddenApplicationWindow : public Window {
public:
    // Creates the window and makes it the owner of the message boxes.
    HiddenApplicationWindow();
    ~HiddenApplicationWindow() override;

    // Shows the window, without activating it, for its task-bar button.
    void ShowTaskBarButton();
};

// The full path of the running executable; empty when the system cannot
// tell.
std::wstring ExecutableWidePath();
// The same in Shift-JIS; nothing when the system cannot tell or the path
// holds a character that Shift-JIS cannot hold (a folder named "Zoë"): a
// "?" in its place would name another file.
std::optional<std::string> ExecutablePath();
