// Lead-byte knowledge of Shift-JIS (code page 932, whatever the system's own
// code page is) and the character-aware search that every separator and
// token test stands on.
#pragma once

#include <string>

// Fills the lead-byte set with code page 932's, once, before any window
// exists. The texts are Shift-JIS on every system, so on a Western or UTF-8
// system too the second byte of "表" (0x5C) is no backslash.
void LoadLeadBytes();

// Replaces the lead-byte set; tests use it to run the routines as they behave
// on a single-byte system. `ranges` holds pairs of first and last lead byte.
void UseLeadByteRanges(const std::string& ranges);

bool IsLeadByte(unsigned char byte);

// What the byte at the 1-based position `pos` of `text` is: a single-byte
// character, the first byte of a two-byte character, or its second byte.
enum class ByteClass { Single, Lead, Trail };
ByteClass ByteClassAt(const std::string& text, int pos);

// True when `text` holds at `pos` a backslash that is a character of its own,
// not the second half of a two-byte character.
bool IsDelimiterAt(const std::string& text, int pos);

// First 1-based position at which `sub` occurs in `text` starting on a
// character boundary, compared byte for byte; 0 when `sub` is empty or absent.
int MBPos(const std::string& sub, const std::string& text);
