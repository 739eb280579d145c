#include "support/FileShapes.h"

bool SetFileLength(const std::string& path, int64_t length)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER position{};
    position.QuadPart = length;
    const bool done = SetFilePointerEx(file, position, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return done;
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

bool SetWriteTime(const std::string& path, const FILETIME& moment)
{
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool done = SetFileTime(file, nullptr, nullptr, &moment) != FALSE;
    CloseHandle(file);
    return done;
}
