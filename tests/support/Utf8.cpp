#include "support/Utf8.h"

#include <windows.h>

std::string Utf8(const std::string& shiftJis)
{
    if (shiftJis.empty()) return {};
    const int wide = MultiByteToWideChar(932, 0, shiftJis.data(), static_cast<int>(shiftJis.size()), nullptr, 0);
    std::wstring utf16(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(932, 0, shiftJis.data(), static_cast<int>(shiftJis.size()), utf16.data(), wide);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}
