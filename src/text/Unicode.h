// Shift-JIS text (code page 932, whatever the system's code page is) as
// UTF-16 for the wide functions and as UTF-8 for logs and consoles. Every
// text that crosses to Windows goes through these, never through the
// system's own code page.
#pragma once

#include <optional>
#include <string>

std::wstring WideFromShiftJis(const std::string& text);
std::string Utf8FromShiftJis(const std::string& text);

// The Shift-JIS form of a text that came from the system, or nothing when
// a character has no Shift-JIS form (a profile folder named "Zoë"): such a
// text cannot be written into a record or handed back to the system, and
// a "?" in its place would name another path.
std::optional<std::string> ShiftJisFromWide(const std::wstring& text);

// The same for texts that are only shown or logged: a character without a
// Shift-JIS form becomes "?".
std::string ShiftJisFromWideForDisplay(const std::wstring& text);
