// The first phases of the install: the start, the association table, and the
// setup folder with the record of an earlier install into it. (Measuring and
// the free-space check lie between the second and the last of these.)
#pragma once

#include "engine/RunState.h"
#include "install/InstallFlow.h"

#include <optional>
#include <string>

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
// long.
bool IsUsableSetupFolder(const std::string& folder);

// Why `folder` cannot be the setup folder of this run's script, or nothing
// when it can: it names no place of its own (above); it is a place of the
// system or the user (ProtectedFolders::RefusesAsSetupFolder); or it holds
// the uninstall record of another program (another Add/Remove key), whose
// record an install would take over and whose uninstall would then remove
// this program's files. A reinstall of the same program, and a setup-only
// script (which writes no record), go on. The start button and the
// unattended run check first, so that nothing is made for a refused folder
// and a person can choose another.
std::optional<SetupFolderRefusal> SetupFolderRefusalOf(const std::string& folder, const RunState& state);
