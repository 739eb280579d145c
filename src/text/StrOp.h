// Text-part and path-delimiter routines on Shift-JIS byte strings, with the
// system's locale mapping. Positions are 1-based; 0 means not found.
#pragma once

#include <string>

std::string LeftStr(const std::string& text, int count);
std::string RightStr(const std::string& text, int count);
std::string MidStr(const std::string& text, int from);

// One backslash at the end or start of a path, added when missing or
// removed when there (one only); a trailing byte 0x5C of a two-byte
// character is no backslash.
std::string WithTrailingBackslash(const std::string& path);
std::string WithoutTrailingBackslash(const std::string& path);
std::string WithLeadingBackslash(const std::string& path);
std::string WithoutLeadingBackslash(const std::string& path);

// The text mapped by LCMapStringW under the system default locale, through
// UTF-16 in code page 932; the text unchanged when the system cannot map it
// or the result has no Shift-JIS form.
std::string MapText(const std::string& text, unsigned long flags);

// Upper case for ASCII letters only, stepping over two-byte characters, so
// that every character keeps its byte length and no trail byte changes.
std::string AsciiUpper(const std::string& text);

// The whole program's case-blind contains-test and find: the position of
// `sub` in `text`, both upper-cased, matching only at character starts.
int TokenPos(const std::string& sub, const std::string& text);

// Convenience for the many contains-tests.
inline bool Contains(const std::string& text, const std::string& sub)
{
    return TokenPos(sub, text) != 0;
}
