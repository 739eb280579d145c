// The end of an install: the uninstaller copy, the uninstall record and the
// Add/Remove Programs entry (RegisterUninstaller), then the failure report,
// the completion message, the program to start or the restart request, and
// the close of the run (FinishInstall). Nothing here can be aborted.
#pragma once

#include "install/InstallFlow.h"
#include "install/InstallRun.h"
#include "ui/SetupCallback.h"

#include <string>

// The Add/Remove Programs list below HKEY_LOCAL_MACHINE.
inline constexpr const char* UninstallListKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// Disables the abort button, copies "SETUP.EXE" of the distribution over
// UNOVSET.EXE in the Windows folder when it is newer, remembers the setup
// folder in OVSET98.INI and, unless the install is setup-only, writes the
// uninstall record, the Add/Remove Programs entry and the program ID. A copy
// or a record that fails, and an entry the registry refuses, become blocks of
// the failure report. A record that cannot be written while a journal is
// kept undoes the install (an install without its record could never be
// removed): Stop then.
Flow RegisterUninstaller(InstallRun& run, SetupCallback& person);

// Offers the failure report, reports completion (or sets rebootNeeded),
// starts the script's program through the shell, and ends the run.
void FinishInstall(InstallRun& run, SetupCallback& person);

// Both, in that order: the tail of RunInstall after the association phase.
Flow CompleteInstall(InstallRun& run, SetupCallback& person);
