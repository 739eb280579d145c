// Parts of a text by byte count, with the classic copy routine's clamping,
// and the blanks that the profile reader trims. Positions are 1-based.
#pragma once

#include <string>

// The first `count` bytes, the last `count` bytes, and everything from the
// byte at `from` on. A start before 1 counts as 1 without reducing the
// count; a count reaching past the end stops there; a negative count or a
// start past the end gives nothing.
std::string LeftStr(const std::string& text, int count);
std::string RightStr(const std::string& text, int count);
std::string MidStr(const std::string& text, int from);

// Blanks, tabs, line ends and Ctrl-Z removed from both ends, as the
// system's profile reader trims names and values. No trail byte is ever one
// of these, so the ends can be trimmed byte by byte.
bool IsProfileBlank(char c);
std::string TrimBlanks(const std::string& text);
