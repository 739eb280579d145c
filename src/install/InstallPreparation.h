// The first phases of the install: the start, the association table, and the
// setup folder with the record of an earlier install into it. (Measuring and
// the free-space check lie between the second and the last of these.)
#pragma once

#include "install/InstallFlow.h"

// Takes the option boxes as they stand, swaps the main window for the
// progress window and lays the main window out for the completion screen.
Flow StartInstall(RunWindows& windows, InstallRun& run);

// The [Relate] pairs that the association phase will make.
Flow ReadAssociationTable(RunWindows& windows, InstallRun& run);

// Takes the setup folder from the folder box, creates it when the user
// agrees, sets the paths derived from it, takes over an earlier uninstall
// record of the folder, and enables the abort button.
Flow CheckSetupFolder(RunWindows& windows, InstallRun& run);

// A setup folder that names no place of its own (a relative path, one that
// still holds a token, a character no folder may hold, or one too long) is
// refused with a box before anything is made; true when it was. The start
// button asks first, so that the person can correct the folder.
bool RefuseUnusableSetupFolder(const std::string& folder);
