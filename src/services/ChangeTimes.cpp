#include "services/ChangeTimes.h"

#include "services/Win32Files.h"
#include "services/Win32Registry.h"
#include "text/Unicode.h"

#include <algorithm>

namespace {

uint64_t TimeValue(const LARGE_INTEGER& time)
{
    return static_cast<uint64_t>(time.QuadPart);
}

}  // namespace

uint64_t FileTimeValue(const FILETIME& time)
{
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

uint64_t TimeNow()
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return FileTimeValue(now);
}

std::optional<uint64_t> LastChangeOfPath(const std::string& path)
{
    // Only the attributes are read, with every sharing mode: a file held
    // open by a program is judged all the same.
    const FileHandle file(CreateFileW(WideFromShiftJis(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    FILE_BASIC_INFO basic{};
    if (file && GetFileInformationByHandleEx(file.Get(), FileBasicInfo, &basic, sizeof basic))
        return std::max({TimeValue(basic.CreationTime), TimeValue(basic.LastWriteTime), TimeValue(basic.ChangeTime)});
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!AttributeDataOf(path, data)) return std::nullopt;
    return std::max(FileTimeValue(data.ftCreationTime), FileTimeValue(data.ftLastWriteTime));
}

std::optional<uint64_t> LastWriteOfKey(HKEY root, const std::string& path)
{
    const RegKey key = OpenRegKey(root, path, KEY_QUERY_VALUE);
    FILETIME written{};
    if (!key || RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, &written) != ERROR_SUCCESS)
        return std::nullopt;
    return FileTimeValue(written);
}
