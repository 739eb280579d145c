// Shift-JIS text (code page 932, whatever the system's code page is) as
// UTF-16 for the wide functions and as UTF-8 for logs and consoles.
#pragma once

#include <string>

std::wstring WideFromShiftJis(const std::string& text);
std::string Utf8FromShiftJis(const std::string& text);
