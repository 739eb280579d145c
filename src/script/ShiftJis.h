// Shift-JIS (code page 932) text as the setup script, the uninstall record
// and every message hold it, whatever code page the system uses: a
// character is one byte, or a lead byte and a trail byte, and the trail
// byte may equal "\" (0x5C), "|" (0x7C), "_" or an ASCII letter. Every
// search here matches at character starts only, so the second half of a
// character is never taken for a separator. Positions are 1-based; 0 means
// not found. Portable: SETUP.EXE, the author tools and the package stub
// all scan text with this one scanner.
#pragma once

#include <cstddef>
#include <string>

// 0x81-0x9F and 0xE0-0xFC, the lead bytes of code page 932.
bool IsLeadByte(unsigned char byte);

// Byte length (1 or 2) of the character that starts at the 0-based
// `index`; a lead byte at the very end counts as one byte.
size_t CharLengthAt(const std::string& text, size_t index);

// What the byte at the 1-based position `pos` of `text` is: a single-byte
// character, the first byte of a two-byte character, or its second byte.
// A trail byte is one after an odd run of lead bytes.
enum class ByteClass { Single, Lead, Trail };
ByteClass ByteClassAt(const std::string& text, int pos);

// True when `text` holds at `pos` a backslash that is a character of its
// own, not the second half of a two-byte character.
bool IsDelimiterAt(const std::string& text, int pos);

// True when the last character of `text` is `c` (not the second byte of a
// two-byte character), and when it is a single-byte character at all.
bool EndsWithCharacter(const std::string& text, char c);
bool EndsWithSingleByte(const std::string& text);

// First (last) 1-based position at which `sub` occurs in `text` starting
// on a character boundary, compared byte for byte; 0 when `sub` is empty
// or absent.
int MBPos(const std::string& sub, const std::string& text);
int LastPos(const std::string& sub, const std::string& text);
