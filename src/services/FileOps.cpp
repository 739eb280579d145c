#include "services/FileOps.h"

#include "services/Journal.h"
#include "services/Win32Files.h"
#include "text/PathParts.h"
#include "text/StrOp.h"

#include <windows.h>

bool FileExists(const std::string& name)
{
    WIN32_FIND_DATAA data{};
    FindHandle find(FindFirstFileA(name.c_str(), &data));
    return find.Valid() && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& path)
{
    const std::string pattern = WithoutTrailingBackslash(path) + "\\*.*";
    WIN32_FIND_DATAA data{};
    FindHandle find(FindFirstFileA(pattern.c_str(), &data));
    if (!find.Valid()) return false;
    constexpr DWORD skipped = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        if ((data.dwFileAttributes & skipped) == 0) return true;
    } while (FindNextFileA(find.Get(), &data));
    return false;
}

bool CreateFolderPath(const std::string& path)
{
    std::string remaining = WithTrailingBackslash(path);
    std::string prefix;
    bool result = true;
    for (int at = TokenPos("\\", remaining); at != 0; at = TokenPos("\\", remaining)) {
        prefix += LeftStr(remaining, at);
        remaining = MidStr(remaining, at + 1);
        if (FolderExists(prefix)) continue;
        if (Journal* journal = ActiveJournal()) journal->FolderCreated(prefix);
        result = CreateDirectoryA(prefix.c_str(), nullptr) != FALSE;
    }
    return result;
}

namespace {

// Moves the complete new file over the earlier one. While an install keeps a
// journal, the earlier file is first moved aside (a rename in the same
// folder), so that undoing the install can bring it back.
bool MoveIntoPlace(const char* temporary, const std::string& destination)
{
    Journal* journal = ActiveJournal();
    const std::string aside = journal != nullptr ? AsideName(destination) : std::string();
    if (aside.empty()) return MoveFileExA(temporary, destination.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    journal->MovedAside(destination, aside);
    if (!MoveFileExA(destination.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const DWORD error = GetLastError();
        DeleteFileA(aside.c_str());
        SetLastError(error);
        return false;
    }
    if (MoveFileExA(temporary, destination.c_str(), 0)) return true;
    const DWORD error = GetLastError();
    MoveFileExA(aside.c_str(), destination.c_str(), 0);
    SetLastError(error);
    return false;
}

// Copies to a fresh file beside `destination` and moves it into place, so
// that the file there stays whole until a whole new one replaces it.
unsigned long ReplaceByCopy(const std::string& source, const std::string& destination)
{
    // A file another program holds is refused as a copy onto it would be
    // (32), before anything is written.
    FileHandle writable(CreateFileA(destination.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    if (!writable) return GetLastError();
    writable.Reset();
    char temporary[MAX_PATH] = {};
    if (GetTempFileNameA(FolderPart(destination).c_str(), "OVS", 0, temporary) == 0) return GetLastError();
    DWORD error = ERROR_SUCCESS;
    if (!CopyFileA(source.c_str(), temporary, FALSE) || !MoveIntoPlace(temporary, destination)) error = GetLastError();
    if (error != ERROR_SUCCESS) DeleteFileA(temporary);
    return error;
}

}  // namespace

unsigned long CopyFileTo(const std::string& source, const std::string& destination)
{
    const bool existed = FileExists(destination);
    DWORD error = ERROR_SUCCESS;
    if (existed) {
        SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_ARCHIVE);
        error = ReplaceByCopy(source, destination);
    } else {
        if (Journal* journal = ActiveJournal()) journal->FileCreated(destination);
        if (!CopyFileA(source.c_str(), destination.c_str(), FALSE)) {
            error = GetLastError();
            // Whatever the failed copy left of the new file goes again.
            if (FileExists(destination)) DeleteFileA(destination.c_str());
        }
    }
    if (FileExists(destination)) SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    return error;
}
