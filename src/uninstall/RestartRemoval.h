// What the uninstall leaves to the next restart of Windows. A file another
// program holds open cannot be deleted now; the system deletes it when
// Windows next starts, before anything can open it again. A folder that
// stays only because of such files goes then too, after them, so that the
// uninstall still removes everything and asks for the restart instead of
// reporting the folder as left behind.
#pragma once

#include "uninstall/UninstallRun.h"

#include <string>

// Notes a file the system deletes at the restart (it is on the list already).
void LeaveToRestart(UninstallRun& run, const std::string& file);

// After `folder` could not be removed: true when nothing keeps it but files
// left to the restart (with `heldFilesToo`, also files another program
// holds, which are then put on the list) and folders that hold only such.
// The folder and those below it are then put on the list, the deepest first,
// after the files. False, with the list unchanged, when anything else is in
// it or the folder holds no such file (it failed for another reason).
bool RemoveFolderAtRestart(UninstallRun& run, const std::string& folder, bool heldFilesToo);
