#include "text/Unicode.h"

#include <windows.h>

namespace {

constexpr UINT ShiftJis = 932;

std::string NarrowFromWide(UINT codePage, DWORD flags, const std::wstring& text, BOOL* usedDefault)
{
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, usedDefault);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), size, narrow.data(), length, nullptr, usedDefault);
    return narrow;
}

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
    return NarrowFromWide(CP_UTF8, 0, WideFromShiftJis(text), nullptr);
}

std::optional<std::string> ShiftJisFromWide(const std::wstring& text)
{
    // Without WC_NO_BEST_FIT_CHARS "ë" would quietly become "e" and name
    // another folder; with it, only an exact round trip passes.
    BOOL usedDefault = FALSE;
    std::string narrow = NarrowFromWide(ShiftJis, WC_NO_BEST_FIT_CHARS, text, &usedDefault);
    if (usedDefault) return std::nullopt;
    return narrow;
}

std::string ShiftJisFromWideForDisplay(const std::wstring& text)
{
    return NarrowFromWide(ShiftJis, WC_NO_BEST_FIT_CHARS, text, nullptr);
}
