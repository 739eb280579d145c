// The last removal of an uninstall: the setup folder itself, emptied of the
// option patterns or, with delete-all, of everything. A protected folder
// (a drive root, a folder of the system or of the user's own data, or one
// that holds such a folder) is left in place and not reported.
#pragma once

#include "uninstall/UninstallRun.h"

void RemoveSetupFolder(UninstallRun& run);

// The failure report's entry for a setup folder that could not be removed
// with the system's code `code`: a folder that is not empty (145) or that
// the system refuses (5) gets the advice to delete it by hand, any other
// code the system's text.
FailureEntry SetupFolderFailure(const std::string& folder, unsigned long code, bool deleteAll);
