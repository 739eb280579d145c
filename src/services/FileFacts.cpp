#include "services/FileFacts.h"

#include "services/Win32Files.h"

#include <windows.h>

std::optional<int64_t> FoundFileSize(const std::string& path)
{
    WIN32_FIND_DATAA data{};
    FindHandle find(FindFirstFileA(path.c_str(), &data));
    if (!find.Valid()) return std::nullopt;
    return static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

std::optional<uint32_t> DosTimeStamp(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    FILETIME local{};
    WORD date = 0;
    WORD time = 0;
    if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToDosDateTime(&local, &date, &time))
        return std::nullopt;
    return (static_cast<uint32_t>(date) << 16) | time;
}
