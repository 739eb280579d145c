// The ordinary text-to-integer conversion of setup-script values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Leading blanks, an optional "+" or "-", then either decimal digits or "$"
// and hexadecimal digits, and nothing after them. Decimal text must lie in
// the signed 32-bit range; hexadecimal text may use all 32 bits ("$FFFFFFFF"
// is -1). Anything else, an overflow included, does not convert.
std::optional<int32_t> TextToInteger(const std::string& text);
