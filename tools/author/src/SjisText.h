// Shift-JIS (code page 932) text as the installer reads it: a character is
// one byte or a lead byte and a trail byte, and the trail byte may equal "\",
// "|", "]" or an ASCII letter. Every search here matches only at character
// starts. Positions are 1-based; 0 means not found.
#pragma once

#include <string>

// 0x81-0x9F and 0xE0-0xFC, the lead bytes of code page 932.
bool IsLeadByte(unsigned char byte);

// Byte length (1 or 2) of the character that starts at the 0-based `index`;
// a lead byte at the very end counts as one byte.
size_t CharLengthAt(const std::string& text, size_t index);

// True when the last byte of `text` is a character of its own, not the
// second half of a two-byte character.
bool EndsWithSingleByte(const std::string& text);

// First position at which `sub` starts on a character boundary, compared
// byte for byte; LastPos gives the last such position.
int MBPos(const std::string& sub, const std::string& text);
int LastPos(const std::string& sub, const std::string& text);

// `MBPos` with single-byte letters compared without regard to case: the
// installer's contains-test for separators, switches and tokens.
int TokenPos(const std::string& sub, const std::string& text);
inline bool Contains(const std::string& text, const std::string& sub)
{
    return TokenPos(sub, text) != 0;
}

// Single-byte letters in upper case; trail bytes are never changed.
std::string UpperText(const std::string& text);

// Equality without regard to the case of single-byte letters, as the
// installer compares section and key names and Windows compares file names.
bool SameText(const std::string& a, const std::string& b);
bool StartsWithText(const std::string& text, const std::string& prefix);

// Blanks, tabs, line ends and Ctrl-Z removed from both ends, as the system's
// profile reader trims names and values. No trail byte is ever one of these.
std::string TrimBlanks(const std::string& text);

// The text after the last "\" or ":" (the file-name part of a script path)
// and the text up to and including it.
std::string FileNamePart(const std::string& path);
std::string FolderPart(const std::string& path);

// A script text in double quotes, for messages.
inline std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}
