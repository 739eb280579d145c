#include "services/FileFacts.h"

#include "services/Win32Files.h"

#include <windows.h>

std::optional<FoundFile> FindFile(const std::string& path)
{
    const auto sizeOf = [](DWORD high, DWORD low) {
        return static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | low);
    };
    if (NamesOneEntry(path)) {
        WIN32_FILE_ATTRIBUTE_DATA attributes{};
        if (!AttributeDataOf(path, attributes)) return std::nullopt;
        return FoundFile{attributes.dwFileAttributes, sizeOf(attributes.nFileSizeHigh, attributes.nFileSizeLow)};
    }
    WIN32_FIND_DATAW data{};
    const FindHandle find = FindFirstEntry(path, data);
    if (!find.Valid()) return std::nullopt;
    return FoundFile{data.dwFileAttributes, sizeOf(data.nFileSizeHigh, data.nFileSizeLow)};
}

std::optional<int64_t> FoundFileSize(const std::string& path)
{
    const std::optional<FoundFile> found = FindFile(path);
    if (!found) return std::nullopt;
    return found->size;
}

namespace {

std::optional<FILETIME> LastWriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!AttributeDataOf(path, data)) return std::nullopt;
    return data.ftLastWriteTime;
}

}  // namespace

std::optional<uint32_t> DosTimeStamp(const std::string& path)
{
    const std::optional<FILETIME> written = LastWriteTime(path);
    FILETIME local{};
    WORD date = 0;
    WORD time = 0;
    if (!written || !FileTimeToLocalFileTime(&*written, &local) || !FileTimeToDosDateTime(&local, &date, &time))
        return std::nullopt;
    return (static_cast<uint32_t>(date) << 16) | time;
}

bool IsNewer(const std::string& path, const std::string& than)
{
    const std::optional<FILETIME> time = LastWriteTime(path);
    if (!time) return false;
    const std::optional<FILETIME> other = LastWriteTime(than);
    return !other || CompareFileTime(&*time, &*other) > 0;
}
