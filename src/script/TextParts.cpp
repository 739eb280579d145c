#include "script/TextParts.h"

namespace {

// Copies `count` bytes from the 1-based `start`; a start before 1 counts as 1
// without reducing the count, and a start past the end gives nothing.
std::string CopyPart(const std::string& text, long long start, long long count)
{
    if (count <= 0) return {};
    if (start < 1) start = 1;
    if (start > static_cast<long long>(text.size())) return {};
    return text.substr(static_cast<size_t>(start - 1), static_cast<size_t>(count));
}

}  // namespace

std::string LeftStr(const std::string& text, int count)
{
    if (count <= 0) return {};
    return text.substr(0, static_cast<size_t>(count));
}

std::string RightStr(const std::string& text, int count)
{
    return CopyPart(text, static_cast<long long>(text.size()) - count + 1, count);
}

std::string MidStr(const std::string& text, int from)
{
    return CopyPart(text, from, static_cast<long long>(text.size()));
}

bool IsProfileBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a';
}

std::string TrimBlanks(const std::string& text)
{
    size_t first = 0;
    size_t end = text.size();
    while (first < end && IsProfileBlank(text[first])) ++first;
    while (end > first && IsProfileBlank(text[end - 1])) --end;
    return text.substr(first, end - first);
}
