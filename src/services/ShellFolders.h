// The shell's folders behind the location tokens of the Start menu, the
// desktop and the others, as Shift-JIS paths.
#pragma once

#include <string>

// The shell's path for a CSIDL, without a trailing backslash; empty when the
// shell cannot supply it. A folder whose name Shift-JIS cannot hold comes
// back as UnrepresentableFolder, which every path check refuses.
std::string GetSpecialFolder(int csidl);

// The same folder asked for by its path alone (no item list is made, so the
// shell parses none of the folders on the way), for the checks that only
// compare paths. Empty when the shell has none or the folder is not there.
std::string GetSpecialFolderPath(int csidl);

// The Shift-JIS text of a folder the system names in UTF-16, as
// GetSpecialFolder gives it.
std::string ShellFolderText(const std::wstring& path);
