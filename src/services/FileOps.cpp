#include "services/FileOps.h"

#include "services/Win32Files.h"
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
    const std::string pattern = RemoveDelimiter(path, "B") + "\\*.*";
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
    std::string remaining = AddDelimiter(path, "B");
    std::string prefix;
    bool result = true;
    for (int at = TokenPos("\\", remaining); at != 0; at = TokenPos("\\", remaining)) {
        prefix += LeftStr(remaining, at);
        remaining = MidStr(remaining, at + 1);
        if (!FolderExists(prefix)) result = CreateDirectoryA(prefix.c_str(), nullptr) != FALSE;
    }
    return result;
}

unsigned long CopyFileTo(const std::string& source, const std::string& destination)
{
    if (FileExists(destination)) SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    const bool copied = CopyFileA(source.c_str(), destination.c_str(), FALSE) != FALSE;
    const DWORD error = GetLastError();
    if (FileExists(destination)) SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    return copied ? 0 : error;
}
