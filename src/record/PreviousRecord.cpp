#include "record/PreviousRecord.h"

#include "record/RestoreSlots.h"
#include "services/FileOps.h"
#include "services/Win32Files.h"
#include "text/IniFile.h"
#include "text/NumberedList.h"

#include <windows.h>

void LoadPreviousRecord(const std::string& recordPath, const std::string& backupPath, UninstallLists& lists,
                        RestoreSlots& slots, ChangeJournal& journal)
{
    // A backup left by an earlier install of this run must not stand in for a
    // record that is missing now or cannot be copied.
    DeleteOneFile(backupPath);
    FlushProfile(backupPath);
    FlushProfile(recordPath);
    if (FileExists(recordPath)) CopyFileTo(recordPath, backupPath, journal);

    MergePreviousAssociations(slots, recordPath);
    for (const RecordList list : AllRecordLists) {
        const RecordListName name = NameOf(list);
        const std::vector<std::string> previous = ReadNumberedList(name.section, name.prefix, backupPath);
        std::vector<std::string>& items = lists[list];
        items.insert(items.end(), previous.begin(), previous.end());
    }
}
