// Taking over the uninstall record that an earlier install left in the same
// setup folder, so that the new record still removes what the old one would.
#pragma once

#include "record/UninstallLists.h"
#include "services/ChangeJournal.h"

#include <string>

// Copies the record at `recordPath`, when there is one, to `backupPath` (the
// work folder's UNSETUPB.INI); merges the record's [RestoreRelate] values into
// `slots`; then appends the backup's five lists, each up to its first empty
// value and unchanged (switches included), to `lists`. Without a record, or
// when the copy fails, the lists get nothing from an earlier install. The
// backup's copy is recorded in `journal`.
void LoadPreviousRecord(const std::string& recordPath, const std::string& backupPath, UninstallLists& lists,
                        RestoreSlots& slots, ChangeJournal& journal);
