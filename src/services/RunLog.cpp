#include "services/RunLog.h"

#include <windows.h>

#include <cstdio>

namespace {

constexpr UINT ShiftJis = 932;

std::string TimeStamp()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u ", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    return stamp;
}

}  // namespace

std::string Utf8FromShiftJis(const std::string& text)
{
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(ShiftJis, 0, text.data(), size, nullptr, 0);
    if (wideLength <= 0) return text;
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(ShiftJis, 0, text.data(), size, wide.data(), wideLength);
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

std::string WithSystemError(const std::string& subject, unsigned long code)
{
    char buffer[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                  buffer, sizeof buffer, nullptr);
    // Neither CR, LF, a blank nor "." is ever the second byte of a Shift-JIS
    // character, so trimming them from the end is safe.
    while (length > 0 && (buffer[length - 1] == '\r' || buffer[length - 1] == '\n' || buffer[length - 1] == ' ' ||
                          buffer[length - 1] == '.'))
        --length;
    std::string text = subject + " (error " + std::to_string(code);
    if (length > 0) text += ": " + std::string(buffer, length);
    return text + ")";
}

unsigned long RunLog::Open(const std::string& path)
{
    FileHandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return GetLastError();
    file_ = std::move(file);
    path_ = path;
    return 0;
}

void RunLog::Line(const std::string& text)
{
    if (!file_) return;
    const std::string stamp = TimeStamp();
    std::string lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines += stamp + Utf8FromShiftJis(text.substr(start, end - start)) + "\r\n";
        if (end == text.size()) break;
        // CR LF is one line end.
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
        if (start == text.size()) break;
    }
    DWORD written = 0;
    // A log that can no longer be written (a full disk) costs its lines,
    // never the run.
    WriteFile(file_.Get(), lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
}
