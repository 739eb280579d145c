// The folder phase of the install: the folders of [MakeFolder], one level
// each, recorded for the uninstaller.
#pragma once

#include "install/InstallFlow.h"

// Creates each folder with one system call, so that a parent must exist or
// come earlier in the list. A folder made, or found already there, goes into
// DeleteFolderList; one that cannot be made goes into the failure report.
// Then shows the progress frame for the copy phase.
Flow MakeFolders(SetupCallback& person, InstallRun& run);
