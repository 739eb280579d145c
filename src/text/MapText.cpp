#include "text/MapText.h"

#include "text/Unicode.h"

#include <windows.h>

#include <vector>

std::string MapText(const std::string& text, unsigned long flags)
{
    // Mapped in UTF-16, as the ANSI call does it on a Japanese system, with
    // the conversion in code page 932 whatever the system's own.
    const std::wstring wide = WideFromShiftJis(text);
    const int length = static_cast<int>(wide.size());
    const int needed = LCMapStringW(LOCALE_SYSTEM_DEFAULT, flags, wide.data(), length, nullptr, 0);
    if (needed <= 0) return text;
    std::vector<wchar_t> buffer(static_cast<size_t>(needed) + 1, L'\0');
    if (LCMapStringW(LOCALE_SYSTEM_DEFAULT, flags, wide.data(), length, buffer.data(), needed + 1) == 0)
        return text;
    return ShiftJisFromWide(buffer.data()).value_or(text);
}
