// Profile (INI) text in Shift-JIS, read and changed with the rules of the
// system's profile functions (GetPrivateProfileString and its kin, as
// measured under Wine on code page 932), without asking the system, so that
// the bytes mean the same whatever code page the system uses:
// - section and key names match without regard to the case of single-byte
//   letters, after blanks around them are removed;
// - a value comes back without the blanks (and Ctrl-Z) around it, and
//   without one pair of matching double or single quotes around it;
// - the first section of a name is the only one searched, and in it the
//   first key of a name wins, even when its value is empty;
// - a line without "=" is a key without a value: reading it gives the
//   default; ";" starts no comment, it is part of the key name;
// - a section line is "[" and the name up to the last "]" of the line;
//   text after that "]" is ignored, and a "[" line without "]" is no section;
// - keys before the first section line form a section named "".
// Every search matches at character starts only, so a trail byte equal to
// "\", "]" or "|" is never taken for one of those characters.
//
// Changes keep every line they do not concern byte for byte (the system under
// Wine rewrites the whole file instead, without blank lines, blanks around
// "=" or text after "]"); new lines end in CR LF and are written as given,
// values included. A file in that plain form comes out byte for byte as the
// system writes it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct ProfileKey {
    std::string name;
    std::optional<std::string> value;  // nothing for a line without "="
    int line = 0;
    // The line's text without the blanks around it, as a section read lists it.
    std::string text;
    // Byte offsets of the line in the file: its start and the start of the
    // next line (after its line feed, if any).
    size_t start = 0;
    size_t end = 0;
};

struct ProfileSection {
    std::string name;
    std::vector<ProfileKey> keys;
    int line = 0;
    // Byte offsets: where the section's "[" line starts (for the keys before
    // the first section line, where the first of them starts), where that
    // line ends, and where the next section line starts or the file ends.
    size_t start = 0;
    size_t headerEnd = 0;
    size_t end = 0;
    bool hasHeader = true;
};

class ProfileText {
public:
    static ProfileText Parse(const std::string& text);

    // The value of `key`: `fallback` for a missing section, key or value.
    std::string Read(const std::string& section, const std::string& key, const std::string& fallback = "") const;
    // The key a read finds, or nothing.
    const ProfileKey* Find(const std::string& section, const std::string& key) const;
    // The section a read searches, or nothing.
    const ProfileSection* FindSection(const std::string& section) const;
    // The lines of that section as the system's section read lists them:
    // "key=value" or a key alone, blanks around each line removed, quotes
    // kept, lines starting with ";" left out. Empty for a missing section
    // and for a name with blanks around it.
    std::vector<std::string> SectionLines(const std::string& section) const;

    // Every section in file order, duplicates included.
    const std::vector<ProfileSection>& Sections() const { return sections_; }

private:
    std::vector<ProfileSection> sections_;
};

// What the profile functions give back for a value written to a file: blanks
// (space, tab, line-feed characters and ^Z) dropped at both ends, then one
// enclosing pair of matching double or single quotes removed.
std::string ProfileValueAsRead(const std::string& written);

// `text` changed as the system's profile writer changes a file. Each gives
// the whole new text.
//
// The value of the key a read finds replaced; else the key added after the
// last key of the section a read searches; else the section added at the end.
std::string WithProfileValue(const std::string& text, const std::string& section, const std::string& key,
                             const std::string& value);
// The key a read finds removed (nothing changes when there is none).
std::string WithoutProfileKey(const std::string& text, const std::string& section, const std::string& key);
// The section a read searches removed, with its lines and the blank lines
// after them; later sections of the same name stay.
std::string WithoutProfileSection(const std::string& text, const std::string& section);
// The keys of the section a read searches replaced by `lines` ("key=value"
// each), or the section added at the end.
std::string WithProfileSection(const std::string& text, const std::string& section,
                               const std::vector<std::string>& lines);
