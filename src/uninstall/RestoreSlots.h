// The association restore slots: which extensions the uninstall gives their
// earlier file type back, and what that type was.
#pragma once

#include "uninstall/UninstallLists.h"

#include <string>

// True when the filled slot belongs to `extension`: the slot's text before its
// first comma equals the extension, letter case ignored. (An extension that
// merely lies inside a remembered one, "do" in "doc", is another extension.)
bool SlotRemembers(const std::string& slot, const std::string& extension);

// A [RestoreRelate] value of an earlier record, merged into the slots: dropped
// when a slot already belongs to its extension, else stored in the first
// empty slot; dropped when all twenty slots belong to other extensions.
void MergePreviousAssociation(RestoreSlots& slots, const std::string& value);

// [RestoreRelate] Key1 to Key20 of the record at `recordPath`, all twenty read
// (a gap does not end them), each merged as above.
void MergePreviousAssociations(RestoreSlots& slots, const std::string& recordPath);

// The slot that an association of `extension` fills: 0 when a slot already
// remembers the extension or when none is free.
int FreeSlotFor(const RestoreSlots& slots, const std::string& extension);

// The default value of "." + extension under HKEY_CLASSES_ROOT; empty when
// the key or the value is missing.
std::string CurrentFileType(const std::string& extension);

// Remembers the extension's current file type in the first free slot unless a
// slot remembers it already, so that the uninstall restores the type from
// before the first install that associated it. Returns the slot filled, or 0.
int RecordAssociation(RestoreSlots& slots, const std::string& extension);
