// Location tokens: parenthesised words of setup scripts and uninstall records
// that stand for folders of this machine and user, such as "(Win)" or "(Dsk)".
#pragma once

#include <string>

// Replaces every occurrence of `token` (case ignored, at character starts)
// with `value`. When `value` ends with a backslash and the text after the
// token starts with one, that one backslash is dropped.
std::string ReplaceToken(const std::string& text, const std::string& token, const std::string& value);

// The folder behind each of the seventeen location tokens, in the fixed
// order in which they are replaced: "(App)" first, "(C_Sup)" last.
struct LocationTable {
    std::string app, programFiles, windows, system, temp, bootRoot, setupRoot, sourceRoot;
    std::string startMenu, programs, desktop, startup, sendTo;
    std::string commonStartMenu, commonPrograms, commonDesktop, commonStartup;
};

// Replaces the seventeen location tokens, in their fixed order, with the
// table's folders. A text longer than ExpansionLimit, or one whose expansion
// would grow beyond it (thousands of "(App)" in one value), comes back as it
// was given: no path or value of an install is that long, and the checks of
// the callers refuse it instead of working on it for minutes.
std::string ExpandTokens(const std::string& text, const LocationTable& folders);
inline constexpr size_t ExpansionLimit = 4096;

// The shell's path for a CSIDL, without a trailing backslash; empty when the
// shell cannot supply it. A folder whose name Shift-JIS cannot hold comes
// back as UnrepresentableFolder, which every path check refuses.
std::string GetSpecialFolder(int csidl);

// The Shift-JIS text of a folder the system names in UTF-16, as
// GetSpecialFolder gives it.
std::string ShellFolderText(const std::wstring& path);
