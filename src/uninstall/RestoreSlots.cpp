#include "uninstall/RestoreSlots.h"

#include "services/Win32Registry.h"
#include "text/IniFile.h"

bool SlotRemembers(const std::string& slot, const std::string& extension)
{
    return !slot.empty() && SameListEntry(ListEntryField(slot), extension);
}

void MergePreviousAssociation(RestoreSlots& slots, const std::string& value)
{
    const std::string extension = ListEntryField(value);
    for (std::string& slot : slots) {
        if (SlotRemembers(slot, extension)) return;
        if (slot.empty()) {
            slot = value;
            return;
        }
    }
}

void MergePreviousAssociations(RestoreSlots& slots, const std::string& recordPath)
{
    for (int n = 1; n <= RestoreSlotCount; ++n) {
        const std::string value = ReadProfile("RestoreRelate", "Key" + std::to_string(n), "", recordPath);
        if (!value.empty()) MergePreviousAssociation(slots, value);
    }
}

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

std::string CurrentFileType(const std::string& extension)
{
    const RegKey key = OpenRegKey(HKEY_CLASSES_ROOT, "." + extension);
    return key ? ReadRegString(key.Get(), "") : std::string();
}

int RecordAssociation(RestoreSlots& slots, const std::string& extension)
{
    const int slot = FreeSlotFor(slots, extension);
    if (slot != 0) slots[static_cast<size_t>(slot) - 1] = extension + "," + CurrentFileType(extension);
    return slot;
}
