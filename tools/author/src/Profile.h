// A setup script read with the rules of the system's profile reader
// (GetPrivateProfileStringA, as measured under Wine):
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
// The file is Shift-JIS, unless it starts with a UTF-8 byte-order mark.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct ProfileKey {
    std::string name;
    std::optional<std::string> value;  // nothing for a line without "="
    int line = 0;
};

struct ProfileSection {
    std::string name;
    std::vector<ProfileKey> keys;
    int line = 0;
};

class Profile {
public:
    static Profile Parse(const std::string& text);
    // Nothing, with `error` set, when the file cannot be read.
    static std::optional<Profile> Load(const std::filesystem::path& file, std::string& error);

    // The value as the installer's ReadProfile returns it: `fallback` for a
    // missing section, key or value.
    std::string Read(const std::string& section, const std::string& key, const std::string& fallback = "") const;
    // The key the installer would read, or nothing.
    const ProfileKey* Find(const std::string& section, const std::string& key) const;
    // The section the installer would search, or nothing.
    const ProfileSection* FindSection(const std::string& section) const;

    // Every section in file order, duplicates included.
    const std::vector<ProfileSection>& Sections() const { return sections_; }

private:
    std::vector<ProfileSection> sections_;
};
