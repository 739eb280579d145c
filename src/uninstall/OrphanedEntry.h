// An Add/Remove Programs entry whose uninstall record is gone (its setup
// folder was deleted by hand, or moved). Started, its command finds nothing
// to read and fails, every time: the entry could never be removed. The
// uninstall offers to remove such an entry instead.
#pragma once

#include "services/RunLog.h"

#include <string>
#include <vector>

// The Add/Remove entries (key paths below HKEY_LOCAL_MACHINE) whose
// uninstall command runs this program's UNOVSET.EXE on `record`, when no
// file is there; none while the record exists.
std::vector<std::string> OrphanedEntriesOf(const std::string& record);

// Removes the entries, each logged; true when all are gone.
bool RemoveOrphanedEntries(const std::vector<std::string>& keyPaths, RunLog& log);
