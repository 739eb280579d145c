#include "text/Unicode.h"

#include <windows.h>

namespace {

constexpr UINT ShiftJis = 932;

}  // namespace

std::wstring WideFromShiftJis(const std::string& text)
{
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(ShiftJis, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(ShiftJis, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string Utf8FromShiftJis(const std::string& text)
{
    const std::wstring wide = WideFromShiftJis(text);
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}
