// Undoing an install from its journal: the changes it lists, last first,
// and only when the journal is the one its run wrote and names nothing that
// its run did not change.
#pragma once

#include "engine/ProtectedFolders.h"
#include "services/Journal.h"
#include "services/RunLog.h"

#include <string>

// What became of a journal found at its place.
enum class JournalVerdict {
    None,           // no journal there
    RunAlive,       // its run still goes on: nothing touched
    NothingToUndo,  // its install ended, or it made no change: the file went
    Undone,         // its changes were undone, last first
    SetAside,       // it does not hold together: nothing undone, the file kept for a person
};

struct JournalSettlement {
    JournalVerdict verdict = JournalVerdict::None;
    // SetAside: where the journal was moved; empty when it could not be.
    std::string keptAs;
};

// Settles the journal file at `path`: the one a killed run left, found by
// the next start-up, or the one of this run's own install that failed.
// Nothing is done while its run is alive. A journal that says its install
// ended goes. A journal whose lines do not hold together, or one that names
// a file, folder, key, value or INI file that nothing changed since it
// began (no run made it), is moved aside as a whole and followed in
// nothing. Otherwise every change it lists is undone, last first: files
// made are removed, earlier files and values come back, keys made are
// removed, INI entries return to what they were, components it copied are
// unregistered (and an earlier one registered again), folders made are
// removed when empty, but never a folder the uninstall would protect. The
// journal then says that it ended and goes, with the earlier files it
// kept. Each step is a line in the log.
JournalSettlement SettleJournal(const std::string& path, const ProtectedFolders& protectedFolders, RunLog& log);
