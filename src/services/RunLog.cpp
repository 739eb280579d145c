#include "services/RunLog.h"

#include "text/Unicode.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

std::string TimeStamp()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u ", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    return stamp;
}

// The lines of `text`, each ended by CR LF, CR or LF; a line end at the very
// end starts no empty line. No Shift-JIS trail byte is a CR or an LF.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines(1);
    for (size_t at = 0; at < text.size(); ++at) {
        const char byte = text[at];
        if (byte != '\r' && byte != '\n') {
            lines.back() += byte;
            continue;
        }
        if (byte == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
        if (at + 1 < text.size()) lines.emplace_back();
    }
    return lines;
}

// A control character (a NUL or a tab in a folder name) written as
// "<U+0000>", so that the log shows what was there and stays text. No
// Shift-JIS trail byte is one.
std::string Visible(const std::string& line)
{
    std::string visible;
    visible.reserve(line.size());
    for (const char byte : line) {
        const unsigned char code = static_cast<unsigned char>(byte);
        if (code >= 0x20 && code != 0x7F) {
            visible += byte;
            continue;
        }
        char escaped[12];
        std::snprintf(escaped, sizeof escaped, "<U+%04X>", code);
        visible += escaped;
    }
    return visible;
}

}  // namespace

unsigned long RunLog::Open(const std::string& path)
{
    FileHandle file = OpenFileHandle(path, FILE_APPEND_DATA, FILE_SHARE_READ, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
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
    for (const std::string& line : Lines(text)) lines += stamp + Utf8FromShiftJis(Visible(line)) + "\r\n";
    DWORD written = 0;
    // A log that can no longer be written (a full disk) costs its lines,
    // never the run.
    WriteFile(file_.Get(), lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
}
