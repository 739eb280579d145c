// The one routine that shows every question and error box of the program.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The hidden application window that owns every top-level window and box.
void SetApplicationWindow(HWND window);
HWND ApplicationWindow();

// Shows a system message box in front of all the program's windows, modal to
// the whole program, and returns the button pressed (IDOK, IDCANCEL, IDYES,
// IDNO). The flags are the system's MB_ values, 16 bits wide.
int ShowMessageBox(const std::string& text, const std::string& caption, uint16_t flags);
