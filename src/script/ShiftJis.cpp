#include "script/ShiftJis.h"

bool IsLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

size_t CharLengthAt(const std::string& text, size_t index)
{
    return IsLeadByte(static_cast<unsigned char>(text[index])) && index + 1 < text.size() ? 2 : 1;
}

ByteClass ByteClassAt(const std::string& text, int pos)
{
    if (pos < 1 || pos > static_cast<int>(text.size())) return ByteClass::Single;
    const unsigned char byte = static_cast<unsigned char>(text[pos - 1]);
    if (byte == 0) return ByteClass::Single;
    // An odd run of lead-set bytes right before the position means the byte
    // completes the two-byte character that the last of them starts: the
    // byte before the run is a character of its own or a trail byte, so a
    // character starts right after it.
    int run = 0;
    for (int i = pos - 1; i >= 1 && IsLeadByte(static_cast<unsigned char>(text[i - 1])); --i) ++run;
    if (run % 2 == 1) return ByteClass::Trail;
    return IsLeadByte(byte) ? ByteClass::Lead : ByteClass::Single;
}

bool IsDelimiterAt(const std::string& text, int pos)
{
    return pos >= 1 && pos <= static_cast<int>(text.size()) && text[pos - 1] == '\\' &&
           ByteClassAt(text, pos) == ByteClass::Single;
}

bool EndsWithCharacter(const std::string& text, char c)
{
    return !text.empty() && text.back() == c && EndsWithSingleByte(text);
}

bool EndsWithSingleByte(const std::string& text)
{
    return !text.empty() && ByteClassAt(text, static_cast<int>(text.size())) != ByteClass::Trail;
}

int MBPos(const std::string& sub, const std::string& text)
{
    if (sub.empty()) return 0;
    for (size_t i = 0; i < text.size(); i += CharLengthAt(text, i))
        if (text[i] == sub[0] && text.compare(i, sub.size(), sub) == 0) return static_cast<int>(i + 1);
    return 0;
}

int LastPos(const std::string& sub, const std::string& text)
{
    if (sub.empty()) return 0;
    int last = 0;
    for (size_t i = 0; i < text.size(); i += CharLengthAt(text, i))
        if (text[i] == sub[0] && text.compare(i, sub.size(), sub) == 0) last = static_cast<int>(i + 1);
    return last;
}
