#include "services/FileOps.h"

#include "script/PathParts.h"
#include "script/TextCase.h"
#include "script/TextParts.h"
#include "services/Win32Files.h"

#include <windows.h>

bool FileExists(const std::string& name)
{
    if (NamesOneEntry(name)) {
        const DWORD attributes = AttributesOf(name);
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }
    WIN32_FIND_DATAW data{};
    const FindHandle find = FindFirstEntry(name, data);
    return find.Valid() && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& path)
{
    const std::string pattern = WithoutTrailingBackslash(path) + "\\*.*";
    WIN32_FIND_DATAW data{};
    const FindHandle find = FindFirstEntry(pattern, data);
    if (!find.Valid()) return false;
    constexpr DWORD skipped = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        if ((data.dwFileAttributes & skipped) == 0) return true;
    } while (FindNextEntry(find, data));
    return false;
}

bool CreateFolderPath(const std::string& path, ChangeJournal& journal)
{
    std::string remaining = WithTrailingBackslash(path);
    std::string prefix;
    // The drive ("C:\") or the share ("\\server\share\") is no folder that
    // can be made: the levels start below it. (Tried, an unreachable share
    // went into the journal as three folders made.)
    const std::string drive = DrivePart(remaining);
    if (!drive.empty() && remaining.size() > drive.size() && remaining[drive.size()] == '\\') {
        prefix = drive + "\\";
        remaining = remaining.substr(prefix.size());
        if (remaining.empty()) return FolderExists(prefix);
    }
    bool result = true;
    for (int at = TokenPos("\\", remaining); at != 0; at = TokenPos("\\", remaining)) {
        prefix += LeftStr(remaining, at);
        remaining = MidStr(remaining, at + 1);
        if (FolderExists(prefix)) continue;
        journal.FolderCreated(prefix);
        result = MakeOneFolder(prefix);
        if (result) journal.FolderMade(prefix);
    }
    return result;
}

namespace {

// Moves the complete new file over the earlier one. While an install keeps a
// journal, the earlier file is first moved aside (a rename in the same
// folder), so that undoing the install can bring it back.
bool MoveIntoPlace(const std::string& temporary, const std::string& destination, ChangeJournal& journal)
{
    const std::string aside = journal.Records() ? AsideName(destination) : std::string();
    if (aside.empty()) return MoveOneFile(temporary, destination, MOVEFILE_REPLACE_EXISTING);
    journal.MovedAside(destination, aside);
    // The name is free: whatever stands there now is no file of this run.
    if (!MoveOneFile(destination, aside, 0)) return false;
    if (MoveOneFile(temporary, destination, 0)) return true;
    const DWORD error = GetLastError();
    MoveOneFile(aside, destination, 0);
    SetLastError(error);
    return false;
}

// Copies to a fresh file beside `destination` and moves it into place, so
// that the file there stays whole until a whole new one replaces it.
unsigned long ReplaceByCopy(const std::string& source, const std::string& destination, ChangeJournal& journal)
{
    // A file another program holds is refused as a copy onto it would be
    // (32), before anything is written.
    FileHandle writable = OpenFileHandle(destination, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (!writable) return GetLastError();
    writable.Reset();
    std::string temporary;
    if (!MakeTemporaryFile(FolderPart(destination), temporary)) return GetLastError();
    DWORD error = ERROR_SUCCESS;
    if (!CopyOneFile(source, temporary) || !MoveIntoPlace(temporary, destination, journal)) error = GetLastError();
    if (error != ERROR_SUCCESS) DeleteOneFile(temporary);
    return error;
}

}  // namespace

unsigned long CopyFileTo(const std::string& source, const std::string& destination, ChangeJournal& journal)
{
    return CopyFileTo(source, destination, FileExists(destination), journal);
}

SourceFlags SourceFlagsOf(unsigned long attributes)
{
    const bool plain = (attributes & ~static_cast<unsigned long>(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL)) == 0;
    return plain ? SourceFlags::ArchiveOnly : SourceFlags::Unknown;
}

unsigned long CopyFileTo(const std::string& source, const std::string& destination, bool existed,
                         ChangeJournal& journal, SourceFlags flags)
{
    DWORD error = ERROR_SUCCESS;
    if (existed) {
        SetAttributesOf(destination, FILE_ATTRIBUTE_ARCHIVE);
        error = ReplaceByCopy(source, destination, journal);
    } else {
        journal.FileCreated(destination);
        if (!CopyOneFile(source, destination)) {
            error = GetLastError();
            // Whatever the failed copy left of the new file goes again.
            if (FileExists(destination)) DeleteOneFile(destination);
        }
    }
    // A file stands there unless a new one failed (and went again); a
    // complete copy of a plain source is plain already. A failed
    // replacement leaves the earlier file, whose flags were cleared above.
    const bool carriedPlain = error == ERROR_SUCCESS && flags == SourceFlags::ArchiveOnly;
    if ((existed || error == ERROR_SUCCESS) && !carriedPlain) SetAttributesOf(destination, FILE_ATTRIBUTE_ARCHIVE);
    return error;
}
