#include "record/RestoreSlots.h"

#include "services/Win32Registry.h"
#include "text/IniFile.h"

namespace {

// True when the filled slot belongs to `extension`: the slot's text before its
// first comma equals the extension, letter case ignored. (An extension that
// merely lies inside a remembered one, "do" in "doc", is another extension.)
bool SlotRemembers(const std::string& slot, const std::string& extension)
{
    return !slot.empty() && SameListEntry(ListEntryField(slot), extension);
}

// The slot that a value of `extension` fills: 0 when a slot already
// remembers the extension or when none is free.
int FreeSlotFor(const RestoreSlots& slots, const std::string& extension)
{
    for (int i = 0; i < RestoreSlotCount; ++i) {
        if (SlotRemembers(slots[static_cast<size_t>(i)], extension)) return 0;
    }
    for (int i = 0; i < RestoreSlotCount; ++i) {
        if (slots[static_cast<size_t>(i)].empty()) return i + 1;
    }
    return 0;
}

// The default value of "." + extension among `classes`; empty when the key
// or the value is missing.
std::string CurrentFileType(const std::string& extension, const ClassesLocation& classes)
{
    const RegKey key = OpenRegKey(classes.Root(), classes.Key("." + extension));
    return key ? ReadRegString(key.Get(), "") : std::string();
}

}  // namespace

void MergePreviousAssociation(RestoreSlots& slots, const std::string& value)
{
    if (const int slot = FreeSlotFor(slots, ListEntryField(value)); slot != 0)
        slots[static_cast<size_t>(slot) - 1] = value;
}

void MergePreviousAssociations(RestoreSlots& slots, const std::string& recordPath)
{
    for (int n = 1; n <= RestoreSlotCount; ++n) {
        const std::string value = ReadProfile("RestoreRelate", "Key" + std::to_string(n), "", recordPath);
        if (!value.empty()) MergePreviousAssociation(slots, value);
    }
}

int RecordAssociation(RestoreSlots& slots, const std::string& extension, const ClassesLocation& classes)
{
    const int slot = FreeSlotFor(slots, extension);
    if (slot != 0) slots[static_cast<size_t>(slot) - 1] = extension + "," + CurrentFileType(extension, classes);
    return slot;
}
