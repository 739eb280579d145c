// Letter case in Shift-JIS text, and the case-blind search that the whole
// program uses as its contains-test for separators, switches, extensions
// and tokens (TokenPos): "/s" is found in "A.DLL,/S", "(app)" in "(App)\X".
#pragma once

#include <string>

// ASCII letters in upper case, stepping over two-byte characters, so that
// no trail byte that equals a letter ever changes.
std::string AsciiUpper(const std::string& text);

// The text as the system's upper-case mapping gives it for code page 932
// (LCMapString with LCMAP_UPPERCASE, through UTF-16): ASCII and full-width
// Latin letters, Greek, Cyrillic and the small Roman numerals in upper case,
// and a character that has two codes (the NEC and IBM extensions) in the
// code the system writes it with. Every character keeps its byte length,
// so positions found in the mapped text hold in the text itself. A byte
// that is no character of the code page stays as it is.
std::string UpperCase(const std::string& text);

// Equality and prefix test without regard to the case of ASCII letters, as
// section and key names and file names are compared.
bool SameText(const std::string& a, const std::string& b);
bool StartsWithText(const std::string& text, const std::string& prefix);

// Equality of the two texts as UpperCase maps them: the case-blind
// comparison of registry key names and file types.
bool SameUpperCased(const std::string& a, const std::string& b);

// The position of `sub` in `text`, both upper-cased by UpperCase, matching
// only at character starts; 0 when `sub` is empty, longer than `text` or
// absent.
int TokenPos(const std::string& sub, const std::string& text);

// Convenience for the many contains-tests.
inline bool Contains(const std::string& text, const std::string& sub)
{
    return TokenPos(sub, text) != 0;
}
