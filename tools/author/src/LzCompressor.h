// Our own compressor for the format of LzFormat.h.
#pragma once

#include <cstdint>
#include <vector>

// The complete compressed file for `data`: header (with `storedLastChar`,
// the character that the expander puts back as the last one of the name,
// or 0 for none) and the compressed items. The caller keeps `data` within
// the header's 32-bit length.
std::vector<uint8_t> CompressLz(const std::vector<uint8_t>& data, unsigned char storedLastChar);
