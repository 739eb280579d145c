#include "services/SystemErrorText.h"

#include "text/StrOp.h"

#include <windows.h>

std::string SystemErrorText(unsigned long code)
{
    if (code == 0) return {};
    char buffer[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                        0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    // Neither a byte below "!" nor "." can be the second byte of a Shift-JIS
    // character, so trimming bytes from the end is safe.
    while (!text.empty() && (static_cast<unsigned char>(text.back()) < '!' || text.back() == '.')) text.pop_back();
    return MapText(text, LCMAP_FULLWIDTH) + "\r\n";
}

std::string WithSystemError(const std::string& subject, unsigned long code)
{
    std::string text = SystemErrorText(code);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
    return subject + " (error " + std::to_string(code) + (text.empty() ? "" : ": " + text) + ")";
}
