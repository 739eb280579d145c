// Location tokens: parenthesised words of setup scripts and uninstall records
// that stand for folders of the machine and user, such as "(Win)" or "(Dsk)".
#pragma once

#include <cstddef>
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

// True for one of the seventeen tokens, in any letter case.
bool IsLocationToken(const std::string& word);

// A machine whose every folder is named after its token and ends in a
// backslash ("(Sys)" stands for "(Sys)\"): a value expanded on it keeps its
// tokens readable and is cut into fields as on every machine whose folders
// hold no "," and no "|". The author tools predict an install with it.
LocationTable TokenNamedFolders();
