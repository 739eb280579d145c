#include "script/TextCase.h"

#include "script/ShiftJis.h"

namespace {

char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The index of a two-byte code within its lead byte's row of trail bytes
// (0x40-0x7E, 0x80-0xFC: 188 a row), and back: the two extensions of
// the code page hold the same characters in the same order in their rows.
unsigned TrailIndex(unsigned trail)
{
    return trail < 0x80 ? trail - 0x40 : trail - 0x41;
}

unsigned CodeAt(unsigned firstCode, unsigned steps)
{
    const unsigned index = TrailIndex(firstCode & 0xFF) + steps;
    const unsigned lead = (firstCode >> 8) + index / 188;
    const unsigned column = index % 188;
    return lead << 8 | (column < 0x3F ? column + 0x40 : column + 0x41);
}

// How many steps `code` lies after `firstCode`, counted as CodeAt counts.
unsigned StepsFrom(unsigned firstCode, unsigned code)
{
    return ((code >> 8) - (firstCode >> 8)) * 188 + TrailIndex(code & 0xFF) - TrailIndex(firstCode & 0xFF);
}

// A code from `first` to `last` whose second byte is a trail byte.
bool InRun(unsigned code, unsigned first, unsigned last)
{
    const unsigned trail = code & 0xFF;
    return code >= first && code <= last && trail >= 0x40 && trail <= 0xFC && trail != 0x7F;
}

// One two-byte character's upper-case code, as the system writes it.
unsigned UpperCode(unsigned code)
{
    // Full-width a-z, Greek and Cyrillic small letters.
    if (code >= 0x8281 && code <= 0x829A) return code - 0x21;
    if (code >= 0x83BF && code <= 0x83D6) return code - 0x20;
    if (InRun(code, 0x8470, 0x8491)) return 0x8440 + StepsFrom(0x8470, code);
    // Small Roman numerals (IBM, NEC-selected IBM) and the IBM capitals:
    // the system writes the capitals in the NEC special row.
    if (code >= 0xFA40 && code <= 0xFA53) return 0x8754 + (code - 0xFA40) % 10;
    if (code >= 0xEEEF && code <= 0xEEF8) return 0x8754 + (code - 0xEEEF);
    // The rest of the NEC-selected IBM extension: the same characters as
    // the IBM extension, which is how the system writes them.
    if (InRun(code, 0xED40, 0xEEEC)) return CodeAt(0xFA5C, StepsFrom(0xED40, code));
    switch (code) {
    case 0xEEF9: case 0xFA54: return 0x81CA;  // ￢
    case 0xEEFA: return 0xFA55;               // ￤
    case 0xEEFB: return 0xFA56;               // ＇
    case 0xEEFC: return 0xFA57;               // ＂
    case 0xFA58: return 0x878A;               // ㈱
    case 0xFA59: return 0x8782;               // №
    case 0xFA5A: return 0x8784;               // ℡
    case 0xFA5B: case 0x879A: return 0x81E6;  // ∵
    // The NEC special row's mathematical signs, also in the JIS rows.
    case 0x8790: return 0x81E0;  // ≒
    case 0x8791: return 0x81DF;  // ≡
    case 0x8792: return 0x81E7;  // ∫
    case 0x8795: return 0x81E3;  // √
    case 0x8796: return 0x81DB;  // ⊥
    case 0x8797: return 0x81DA;  // ∠
    case 0x879B: return 0x81BF;  // ∩
    case 0x879C: return 0x81BE;  // ∪
    default: return code;
    }
}

}  // namespace

std::string AsciiUpper(const std::string& text)
{
    std::string upper = text;
    for (size_t i = 0; i < upper.size(); i += CharLengthAt(upper, i))
        if (CharLengthAt(upper, i) == 1) upper[i] = UpperAscii(upper[i]);
    return upper;
}

std::string UpperCase(const std::string& text)
{
    std::string upper = text;
    for (size_t i = 0; i < upper.size(); i += CharLengthAt(upper, i)) {
        if (CharLengthAt(upper, i) == 1) {
            upper[i] = UpperAscii(upper[i]);
            continue;
        }
        const unsigned code = static_cast<unsigned char>(upper[i]) << 8 | static_cast<unsigned char>(upper[i + 1]);
        const unsigned mapped = UpperCode(code);
        upper[i] = static_cast<char>(mapped >> 8);
        upper[i + 1] = static_cast<char>(mapped & 0xFF);
    }
    return upper;
}

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && AsciiUpper(a) == AsciiUpper(b);
}

bool StartsWithText(const std::string& text, const std::string& prefix)
{
    if (prefix.size() > text.size()) return false;
    // The cut must not split a two-byte character of the text.
    size_t i = 0;
    while (i < prefix.size()) i += CharLengthAt(text, i);
    return i == prefix.size() && SameText(text.substr(0, i), prefix);
}

bool SameUpperCased(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && UpperCase(a) == UpperCase(b);
}

int TokenPos(const std::string& sub, const std::string& text)
{
    if (sub.empty() || sub.size() > text.size()) return 0;
    return MBPos(UpperCase(sub), UpperCase(text));
}
