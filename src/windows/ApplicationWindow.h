// The program's application window: the owner of every top-level window and
// message box. It has no size, so all that shows of it is its task-bar
// button, which carries the application's title and icon; the windows it
// owns have no button of their own.
#pragma once

#include "windows/Window.h"

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

// The full path of the running executable.
std::string ExecutablePath();
