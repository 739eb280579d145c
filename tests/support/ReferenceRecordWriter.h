// The uninstall record written the slow, plain way, key by key: the old
// record deleted, then one write of the system's own profile functions per
// key, each list item numbered as FindNumberedKey numbers it against the
// file as written so far and, in DeleteFile,
// keeping the "/S" of the value it replaces. The fast writer must leave the
// very same bytes.
#pragma once

#include "record/UninstallRecord.h"

// Writes input.recordPath in place; the work folder is not used.
void WriteRecordKeyByKey(const UninstallRecordInput& input, const UninstallLists& lists, const RestoreSlots& slots);
