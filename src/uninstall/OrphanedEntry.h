// An Add/Remove Programs entry whose uninstall record is gone (its setup
// folder was deleted by hand, or moved). Started, its command finds nothing
// to read and fails, every time: the entry could never be removed. The
// uninstall offers to remove such an entry instead.
#pragma once

#include "script/InstallScope.h"
#include "services/RunLog.h"

#include <string>
#include <vector>

// The Add/Remove entries of the run's scope (key paths below
// HKEY_LOCAL_MACHINE, or HKEY_CURRENT_USER for the current user) whose
// uninstall command runs this program's UNOVSET.EXE on `record`, when no
// file is there; none while the record exists.
std::vector<std::string> OrphanedEntriesOf(const std::string& record, InstallScope scope);

// Removes the entries of that scope, each logged; true when all are gone.
bool RemoveOrphanedEntries(const std::vector<std::string>& keyPaths, InstallScope scope, RunLog& log);
