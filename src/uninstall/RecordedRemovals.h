// The removals the uninstall record lists, in their fixed order: installed
// and extra files, shortcuts with the folders they leave empty, and the
// folders the install made, the last made first.
#pragma once

#include "ui/SetupCallback.h"
#include "uninstall/UninstallRun.h"

// DeleteFile, then AddDeleteFile, each file decided on its own (shared
// counts, switches, questions). Only DeleteFile failures are reported; a
// recorded file that is gone already is one (the system's text for 2).
void RemoveRecordedFiles(UninstallRun& run, SetupCallback& person);

// DeleteShortCut: each shortcut, then its folder when that is left empty,
// unless the folder is one of the shell's own (desktop, Programs, Startup,
// Send To) or otherwise protected.
void RemoveRecordedShortcuts(UninstallRun& run);

// DeleteFolder from the last entry to the first. Folders inside the setup
// folder are first cleared of the option patterns; with delete-all their
// failures are not reported, since the setup folder's removal takes
// everything below it (or, when the install did not make the setup folder,
// what is left is not the install's). A protected folder is left alone,
// unreported; a link is left alone and reported.
void RemoveRecordedFolders(UninstallRun& run);
