// The compressed-file format that the system's expander (LZ32's LZOpenFile,
// LZCopy and GetExpandedName) reads: a 14-byte header, then groups of one
// flag byte and up to eight items. A set flag bit (lowest bit first) marks a
// literal byte; a clear one a two-byte reference into a 4096-byte window
// that starts filled with blanks and is first written at position 4080.
#pragma once

#include <cstdint>

namespace lz {

constexpr unsigned char kMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
constexpr unsigned char kModeA = 'A';
constexpr int kHeaderSize = 14;  // magic, mode, stored last character, 32-bit length

constexpr int kWindowSize = 4096;
constexpr int kFirstWritePosition = kWindowSize - 16;
constexpr unsigned char kWindowFill = ' ';

// A reference holds a 12-bit window position and a length of 3 to 18.
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 18;
// Never refer to the window cell that the expander is about to overwrite:
// whether it reads that cell before or after writing it is its own affair.
constexpr int kMaxDistance = kWindowSize - 1;

constexpr uint64_t kMaxLength = 0xFFFFFFFFu;  // the header's length field

}  // namespace lz
