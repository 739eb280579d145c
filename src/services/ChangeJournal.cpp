#include "services/ChangeJournal.h"

#include "script/PathParts.h"
#include "text/IniFile.h"
#include "text/Unicode.h"

void JournalFileBeforeWriting(ChangeJournal& journal, const std::string& path)
{
    if (!journal.Records()) return;
    const std::wstring widePath = WideFromShiftJis(path);
    const DWORD attributes = GetFileAttributesW(widePath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        journal.FileCreated(path);
        return;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return;
    const std::string copy = AsideName(path);
    if (!copy.empty() && CopyFileW(widePath.c_str(), WideFromShiftJis(copy).c_str(), FALSE))
        journal.CopiedAside(path, copy);
    else if (!copy.empty())
        DeleteFileW(WideFromShiftJis(copy).c_str());
}

void JournalIniEntry(ChangeJournal& journal, const std::string& file, const std::string& section,
                     const std::string& key)
{
    if (!journal.Records()) return;
    // The file as the profile functions find it (a name without a folder is
    // the Windows folder's): one they will make is removed by the undo, an
    // entry of one that is there is put back in that very file.
    const std::string location = ProfileFileLocation(file);
    if (location.empty()) return;  // they write nothing there
    if (GetFileAttributesW(WideFromShiftJis(location).c_str()) == INVALID_FILE_ATTRIBUTES)
        journal.FileCreated(location);
    else
        journal.IniEntryBefore(location, section, key);
}

std::string AsideName(const std::string& path)
{
    wchar_t name[MAX_PATH] = {};
    if (GetTempFileNameW(WideFromShiftJis(FolderPart(path)).c_str(), L"OVJ", 0, name) == 0) return {};
    // The system made the file to take the name; it goes again, so that only
    // the earlier file itself is ever found there.
    DeleteFileW(name);
    return ShiftJisFromWide(name).value_or(std::string());
}
