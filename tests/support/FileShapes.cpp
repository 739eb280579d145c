#include "support/FileShapes.h"

#include "services/Win32Files.h"

bool SetFileLength(const std::string& path, int64_t length)
{
    const FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return false;
    LARGE_INTEGER position{};
    position.QuadPart = length;
    return SetFilePointerEx(file.Get(), position, nullptr, FILE_BEGIN) && SetEndOfFile(file.Get());
}

FILETIME LocalMoment(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second)
{
    SYSTEMTIME local{};
    local.wYear = year;
    local.wMonth = month;
    local.wDay = day;
    local.wHour = hour;
    local.wMinute = minute;
    local.wSecond = second;
    FILETIME localTime{};
    FILETIME utc{};
    SystemTimeToFileTime(&local, &localTime);
    LocalFileTimeToFileTime(&localTime, &utc);
    return utc;
}

FILETIME MomentFromNow(long long seconds)
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{};
    time.LowPart = now.dwLowDateTime;
    time.HighPart = now.dwHighDateTime;
    time.QuadPart += static_cast<unsigned long long>(seconds * 10000000LL);
    return {time.LowPart, time.HighPart};
}

bool SetWriteTime(const std::string& path, const FILETIME& moment)
{
    const FileHandle file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file && SetFileTime(file.Get(), nullptr, nullptr, &moment) != FALSE;
}
