// The install's phases after the file copy: shortcuts, registry values,
// entries of other INI files, the entries kept only for the uninstaller, and
// file associations. Each is an install phase: Stop once the user aborted at
// one of its status texts, and RunInstall then returns at once. A registry
// key or value that cannot be written, or a shell-link object that cannot
// be made, raises SetupError, which ends RunInstall where it is: the windows
// stay as they are (progress window open, abort button enabled) and no
// record is written.
#pragma once

#include "install/InstallFlow.h"

// [ShortCut]: the links that the option boxes allow, each recorded in the
// uninstall lists (also when the shell gave back no path).
Flow MakeShortcuts(SetupCallback& person, InstallRun& run);

// [Registry]: every value written under its key, the key created even for
// an empty value.
Flow WriteRegistryValues(SetupCallback& person, InstallRun& run);

// [IniFile]: every entry written into its file; failures are ignored.
Flow WriteIniEntries(SetupCallback& person, InstallRun& run);

// [DeleteRegistry] and [AddDeleteFile], handed on to the uninstall lists.
// Nothing is shown and nothing can stop it.
Flow CollectUninstallOnlyEntries(SetupCallback& person, InstallRun& run);

// [Relate]: each association that the user confirms, its earlier file type
// remembered in the run's restore slots first.
Flow MakeAssociations(SetupCallback& person, InstallRun& run);

// The five above in their order.
Flow RunActionPhases(SetupCallback& person, InstallRun& run);
