// The program's command line as the system gives it, and the usage text.
// What the arguments mean is the script library's (script/RunSwitches.h),
// which the package stub reads its switches with as well.
#pragma once

#include "script/RunSwitches.h"

#include <string>

// The command line as the system gives it (UTF-16), read as ParseCommandLine
// reads it. An argument holding a character that Shift-JIS cannot hold
// (/DIR=C:\Zoë) is the line's fault: a "?" in its place would name another
// folder or file. The program's own name may hold any character.
RunOptions ParseCommandLine(const std::wstring& commandLine);

// The text that /? shows: every switch and the exit codes.
std::string UsageText();
