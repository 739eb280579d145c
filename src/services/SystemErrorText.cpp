#include "services/SystemErrorText.h"

#include "text/MapText.h"
#include "text/Unicode.h"

#include <windows.h>

#include <iterator>

std::string SystemMessage(unsigned long code)
{
    wchar_t buffer[512] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    // Only shown: a character without a Shift-JIS form may become "?".
    return ShiftJisFromWideForDisplay(std::wstring(buffer, length));
}

std::string SystemErrorText(unsigned long code)
{
    if (code == 0) return {};
    std::string text = SystemMessage(code);
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
