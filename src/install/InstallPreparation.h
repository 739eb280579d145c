// The first phases of the install: the start, the association table, and the
// setup folder with the record of an earlier install into it. (Measuring and
// the free-space check lie between the second and the last of these.)
#pragma once

#include "install/InstallFlow.h"

// Takes the option boxes as they stand, swaps the main window for the
// progress window and lays the main window out for the completion screen.
Flow StartInstall(SetupCallback& person, InstallRun& run);

// The [Relate] pairs that the association phase will make.
Flow ReadAssociationTable(SetupCallback& person, InstallRun& run);

// Takes the setup folder from the folder box, creates it when the user
// agrees, sets the paths derived from it, takes over an earlier uninstall
// record of the folder, and enables the abort button.
Flow CheckSetupFolder(SetupCallback& person, InstallRun& run);

// A setup folder must name a place of its own: not a relative path, not one
// that still holds a token, no character a folder may not hold, not too
// long. The start button checks first, so that the person can correct it.
bool IsUsableSetupFolder(const std::string& folder);
