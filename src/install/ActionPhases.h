// The install's phases after the file copy: shortcuts, registry values,
// entries of other INI files, the entries kept only for the uninstaller, and
// file associations. Each works on the install's working state and the
// windows; those that poll the abort button return false once the user has
// aborted, and RunInstall then returns at once. A registry key or value that
// cannot be written, or a shell-link object that cannot be made, raises
// SetupError, which ends RunInstall where it is: the windows stay as they
// are (progress window open, abort button enabled) and no record is written.
#pragma once

#include "install/InstallRun.h"
#include "windows/RunWindows.h"

// [ShortCut]: the links that the option boxes allow, each recorded in the
// uninstall lists (also when the shell gave back no path).
bool RunShortcutPhase(InstallRun& run, RunWindows& windows);

// [Registry]: every value written under its key, the key created even for
// an empty value.
bool RunRegistryPhase(InstallRun& run, RunWindows& windows);

// [IniFile]: every entry written into its file; failures are ignored.
bool RunIniFilePhase(InstallRun& run, RunWindows& windows);

// [DeleteRegistry] and [AddDeleteFile], handed on to the uninstall lists.
void CollectUninstallOnlyEntries(InstallRun& run);

// [Relate]: each association that the user confirms, its earlier file type
// remembered in the run's restore slots first.
bool RunAssociationPhase(InstallRun& run, RunWindows& windows);

// The five above in their order; false when the user aborted.
bool RunActionPhases(InstallRun& run, RunWindows& windows);
