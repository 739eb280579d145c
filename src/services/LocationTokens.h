// Location tokens: parenthesised words of setup scripts and uninstall records
// that stand for folders of this machine and user, such as "(Win)" or "(Dsk)".
#pragma once

#include <string>

// Replaces every occurrence of `token` (case ignored, at character starts)
// with `value`. When `value` ends with a backslash and the text after the
// token starts with one, that one backslash is dropped.
std::string ReplaceToken(const std::string& text, const std::string& token, const std::string& value);

// Replaces the seventeen location tokens, in their fixed order, with the
// folders of the run state. A text longer than ExpansionLimit, or one whose
// expansion would grow beyond it (thousands of "(App)" in one value), comes
// back as it was given: no path or value of an install is that long, and the
// checks of the callers refuse it instead of working on it for minutes.
std::string ExpandLocationTokens(const std::string& text);
inline constexpr size_t ExpansionLimit = 4096;

// The shell's path for a CSIDL, without a trailing backslash; empty when the
// shell cannot supply it.
std::string GetSpecialFolder(int csidl);

// The system's message for a Windows error code as one line of full-width
// text followed by CR LF, for the failure reports; empty for code 0.
std::string SystemErrorText(unsigned long code);
