#include "text/MBUtils.h"

#include <windows.h>

#include <array>

namespace {

std::array<bool, 256> leadBytes{};

}  // namespace

void LoadLeadBytes()
{
    leadBytes.fill(false);
    CPINFO info{};
    if (!GetCPInfo(932, &info)) return;
    // LeadByte holds pairs of range bounds, ended by a pair of zeros.
    for (int i = 0; i + 1 < MAX_LEADBYTES; i += 2) {
        const unsigned first = info.LeadByte[i];
        const unsigned last = info.LeadByte[i + 1];
        if (first == 0 && last == 0) break;
        for (unsigned b = first; b <= last && b < 256; ++b) leadBytes[b] = true;
    }
}

void UseLeadByteRanges(const std::string& ranges)
{
    leadBytes.fill(false);
    for (size_t i = 0; i + 1 < ranges.size(); i += 2) {
        const unsigned first = static_cast<unsigned char>(ranges[i]);
        const unsigned last = static_cast<unsigned char>(ranges[i + 1]);
        for (unsigned b = first; b <= last; ++b) leadBytes[b] = true;
    }
}

bool IsLeadByte(unsigned char byte)
{
    return leadBytes[byte];
}

ByteClass ByteClassAt(const std::string& text, int pos)
{
    if (pos < 1 || pos > static_cast<int>(text.size())) return ByteClass::Single;
    const unsigned char byte = static_cast<unsigned char>(text[pos - 1]);
    if (byte == 0) return ByteClass::Single;
    // An odd run of lead-set bytes right before the position means the byte
    // completes the two-byte character that the last of them starts.
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

int MBPos(const std::string& sub, const std::string& text)
{
    if (sub.empty()) return 0;
    const size_t length = text.size();
    size_t i = 0;
    while (i < length) {
        if (text[i] == sub[0] && text.compare(i, sub.size(), sub) == 0) return static_cast<int>(i + 1);
        i += IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    }
    return 0;
}
