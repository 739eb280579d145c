// The association restore slots: which extensions the uninstall gives their
// earlier file type back, and what that type was.
#pragma once

#include "record/UninstallLists.h"
#include "services/RegistryKeys.h"

#include <string>

// A [RestoreRelate] value of an earlier record, merged into the slots: dropped
// when a slot already belongs to its extension (the text before the first
// comma, equal with letter case ignored, so "do" is not "doc"), else stored in
// the first empty slot; dropped when all twenty slots belong to others.
void MergePreviousAssociation(RestoreSlots& slots, const std::string& value);

// [RestoreRelate] Key1 to Key20 of the record at `recordPath`, all twenty read
// (a gap does not end them), each merged as above.
void MergePreviousAssociations(RestoreSlots& slots, const std::string& recordPath);

// Remembers the extension's current file type (in `classes`) in the first free slot unless a
// slot remembers it already, so that the uninstall restores the type from
// before the first install that associated it. Returns the slot filled, or 0.
int RecordAssociation(RestoreSlots& slots, const std::string& extension,
                      const ClassesLocation& classes = ClassesOf(InstallScope::Machine));
