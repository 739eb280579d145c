#include "text/StrOp.h"

#include "text/MBUtils.h"
#include "text/Unicode.h"

#include <windows.h>

#include <vector>

std::string LeftStr(const std::string& text, int count)
{
    if (count <= 0) return {};
    return text.substr(0, static_cast<size_t>(count));
}

// Copies `count` bytes from the 1-based `start`; a start before 1 counts as 1
// without reducing the count, and a start past the end gives nothing.
static std::string CopyPart(const std::string& text, long long start, long long count)
{
    if (count <= 0) return {};
    if (start < 1) start = 1;
    if (start > static_cast<long long>(text.size())) return {};
    return text.substr(static_cast<size_t>(start - 1), static_cast<size_t>(count));
}

std::string RightStr(const std::string& text, int count)
{
    return CopyPart(text, static_cast<long long>(text.size()) - count + 1, count);
}

std::string MidStr(const std::string& text, int from)
{
    return CopyPart(text, from, static_cast<long long>(text.size()));
}

std::string WithTrailingBackslash(const std::string& path)
{
    return IsDelimiterAt(path, static_cast<int>(path.size())) ? path : path + "\\";
}

std::string WithoutTrailingBackslash(const std::string& path)
{
    return IsDelimiterAt(path, static_cast<int>(path.size())) ? path.substr(0, path.size() - 1) : path;
}

std::string WithLeadingBackslash(const std::string& path)
{
    return IsDelimiterAt(path, 1) ? path : "\\" + path;
}

std::string WithoutLeadingBackslash(const std::string& path)
{
    return IsDelimiterAt(path, 1) ? path.substr(1) : path;
}

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

std::string AsciiUpper(const std::string& text)
{
    std::string result = text;
    for (size_t i = 0; i < result.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(result[i]);
        if (IsLeadByte(byte)) {
            ++i;
        } else if (byte >= 'a' && byte <= 'z') {
            result[i] = static_cast<char>(byte - 'a' + 'A');
        }
    }
    return result;
}

// Callers cut their own unmapped text at the positions found, so the upper
// case form must keep every character's byte length. The system mapping does
// for well-formed Shift-JIS; a broken character (a lone lead byte) could come
// back changed, and then only ASCII letters are mapped.
static std::string UpperSameLength(const std::string& text)
{
    std::string upper = MapText(text, LCMAP_UPPERCASE);
    if (upper.size() != text.size()) upper = AsciiUpper(text);
    return upper;
}

int TokenPos(const std::string& sub, const std::string& text)
{
    if (sub.empty() || sub.size() > text.size()) return 0;
    return MBPos(UpperSameLength(sub), UpperSameLength(text));
}
