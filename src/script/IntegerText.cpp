#include "script/IntegerText.h"

namespace {

// The value of one digit in `base` (10 or 16), or -1 when it is none.
int DigitValue(char c, unsigned base)
{
    int value = -1;
    if (c >= '0' && c <= '9') value = c - '0';
    else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    return value < static_cast<int>(base) ? value : -1;
}

}  // namespace

std::optional<int32_t> TextToInteger(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const bool hexadecimal = i < text.size() && text[i] == '$';
    if (hexadecimal) ++i;
    if (i == text.size()) return std::nullopt;

    // Accumulated in 64 bits; any digit that would pass the 32-bit limit
    // ends the conversion as an overflow instead of wrapping round.
    const uint64_t limit = hexadecimal ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    const unsigned base = hexadecimal ? 16 : 10;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0) return std::nullopt;
        value = value * base + static_cast<unsigned>(digit);
        if (value > limit) return std::nullopt;
    }
    // Hexadecimal text gives the 32-bit pattern, so $FFFFFFFF is -1 and
    // -$1 is -1 as well; the sign then negates in two's complement.
    uint32_t bits = static_cast<uint32_t>(value);
    if (negative) bits = 0u - bits;
    return static_cast<int32_t>(bits);
}
