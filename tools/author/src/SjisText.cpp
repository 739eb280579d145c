#include "SjisText.h"

bool IsLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

size_t CharLengthAt(const std::string& text, size_t index)
{
    const bool twoBytes = IsLeadByte(static_cast<unsigned char>(text[index])) && index + 1 < text.size();
    return twoBytes ? 2 : 1;
}

bool EndsWithSingleByte(const std::string& text)
{
    size_t i = 0;
    size_t lastLength = 0;
    while (i < text.size()) {
        lastLength = CharLengthAt(text, i);
        i += lastLength;
    }
    return lastLength == 1;
}

namespace {

// Calls `visit` with each 0-based character start until it returns true.
template <typename Visit>
int FirstStartWhere(const std::string& text, Visit visit)
{
    for (size_t i = 0; i < text.size(); i += CharLengthAt(text, i))
        if (visit(i)) return static_cast<int>(i + 1);
    return 0;
}

char UpperByte(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

int MBPos(const std::string& sub, const std::string& text)
{
    if (sub.empty()) return 0;
    return FirstStartWhere(text, [&](size_t i) { return text.compare(i, sub.size(), sub) == 0; });
}

int LastPos(const std::string& sub, const std::string& text)
{
    int last = 0;
    FirstStartWhere(text, [&](size_t i) {
        if (!sub.empty() && text.compare(i, sub.size(), sub) == 0) last = static_cast<int>(i + 1);
        return false;
    });
    return last;
}

std::string UpperText(const std::string& text)
{
    std::string upper = text;
    for (size_t i = 0; i < upper.size(); i += CharLengthAt(upper, i))
        if (CharLengthAt(upper, i) == 1) upper[i] = UpperByte(upper[i]);
    return upper;
}

int TokenPos(const std::string& sub, const std::string& text)
{
    if (sub.empty() || sub.size() > text.size()) return 0;
    return MBPos(UpperText(sub), UpperText(text));
}

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && UpperText(a) == UpperText(b);
}

bool StartsWithText(const std::string& text, const std::string& prefix)
{
    if (prefix.size() > text.size()) return false;
    // The cut must not split a two-byte character of the text.
    size_t i = 0;
    while (i < prefix.size()) i += CharLengthAt(text, i);
    return i == prefix.size() && SameText(text.substr(0, i), prefix);
}

std::string TrimBlanks(const std::string& text)
{
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a'; };
    size_t first = 0;
    size_t end = text.size();
    while (first < end && blank(text[first])) ++first;
    while (end > first && blank(text[end - 1])) --end;
    return text.substr(first, end - first);
}

namespace {

size_t FileNameStart(const std::string& path)
{
    const int slash = LastPos("\\", path);
    const int colon = LastPos(":", path);
    return static_cast<size_t>(slash > colon ? slash : colon);
}

}  // namespace

std::string FileNamePart(const std::string& path)
{
    return path.substr(FileNameStart(path));
}

std::string FolderPart(const std::string& path)
{
    return path.substr(0, FileNameStart(path));
}
