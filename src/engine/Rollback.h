// Undoing an install from its journal: the changes it lists, last first.
#pragma once

#include "engine/ProtectedFolders.h"
#include "services/Journal.h"
#include "services/RunLog.h"

#include <string>

struct UndoCount {
    int undone = 0;
    int notUndone = 0;  // left as the install made it; each one logged
};

// Undoes every change of `journal`: files made are removed, earlier files
// and values come back, keys made are removed, INI entries return to what
// they were, components are unregistered (and an earlier one registered
// again), folders made are removed when empty. A folder is never removed
// when the uninstall would protect it. Each step is a line in the log.
UndoCount UndoChanges(const JournalContents& journal, const ProtectedFolders& protectedFolders, RunLog& log);

// Undoes the journal file at `path` and removes it with the earlier files
// it kept. Nothing is done while the run that wrote it is still alive, or
// when there is no journal: false then.
bool UndoJournalFile(const std::string& path, const ProtectedFolders& protectedFolders, RunLog& log);
