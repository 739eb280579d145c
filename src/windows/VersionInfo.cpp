#include "windows/VersionInfo.h"

#include "script/TextCase.h"
#include "script/TextParts.h"
#include "text/Unicode.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

// The value of a text of decimal digits; 0 for anything else (empty text,
// a sign, letters, a number beyond 32 bits). Version parts are never negative.
int DecimalValue(const std::string& text)
{
    long long value = 0;
    for (char digit : text) {
        if (digit < '0' || digit > '9') return 0;
        value = value * 10 + (digit - '0');
        if (value > 0x7FFFFFFFLL) return 0;
    }
    return static_cast<int>(value);
}

}  // namespace

VersionNumbers ParseVersionNumbers(const std::string& text)
{
    std::string rest = text;
    int parts[3] = {0, 0, 0};
    for (int& part : parts) {
        const int point = TokenPos(".", rest);
        if (point == 0) continue;
        part = DecimalValue(LeftStr(rest, point - 1));
        rest = MidStr(rest, point + 1);
    }
    return {parts[0], parts[1], parts[2], DecimalValue(rest)};
}

bool ReadVersionNumbers(const std::string& file, VersionNumbers& numbers)
{
    return ReadVersionNumbers(WideFromShiftJis(file), numbers);
}

bool ReadVersionNumbers(const std::wstring& file, VersionNumbers& numbers)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return false;
    std::vector<char> block(size, '\0');
    std::string text;
    if (GetFileVersionInfoW(file.c_str(), 0, size, block.data())) {
        wchar_t* value = nullptr;
        UINT length = 0;  // in characters, the ending zero included
        if (VerQueryValueW(block.data(), L"\\StringFileInfo\\041103a4\\FileVersion",
                           reinterpret_cast<void**>(&value), &length) &&
            value != nullptr) {
            text = ShiftJisFromWideForDisplay(std::wstring(value, wcsnlen(value, length)));
        }
    }
    numbers = ParseVersionNumbers(text);
    return true;
}

std::string VersionText(const VersionNumbers& numbers)
{
    // Minor and release read as one number: the digits without their leading
    // zeros, then at least two of them.
    std::string middle = std::to_string(numbers.minor) + std::to_string(numbers.release);
    middle.erase(0, std::min(middle.find_first_not_of('0'), middle.size() - 1));
    if (middle.size() < 2) middle.insert(0, 2 - middle.size(), '0');
    char build[16];
    std::snprintf(build, sizeof build, "%04d", numbers.build);
    return std::to_string(numbers.major) + "." + middle + "(Build:" + build + ")";
}
