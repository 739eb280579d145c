// The program's hidden application window: the owner of every top-level
// window and message box, carrying the application's title.
#pragma once

#include "windows/Window.h"

inline constexpr const char* ApplicationTitle = "Orvane Standard";

class HiddenApplicationWindow : public Window {
public:
    // Creates the window and makes it the owner of the message boxes.
    HiddenApplicationWindow();
    ~HiddenApplicationWindow() override;
};
