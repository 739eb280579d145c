#include "script/ProfileText.h"

#include "script/ShiftJis.h"
#include "script/TextCase.h"
#include "script/TextParts.h"

#include <optional>

namespace {

// The section name of a "[" line, or nothing when the line has no "]".
std::optional<std::string> SectionName(const std::string& line)
{
    const int close = LastPos("]", line);
    if (close == 0) return std::nullopt;
    return TrimBlanks(line.substr(1, static_cast<size_t>(close) - 2));
}

ProfileKey KeyOfLine(const std::string& line, int number)
{
    const int at = MBPos("=", line);
    if (at == 0) return ProfileKey{TrimBlanks(line), std::nullopt, number, TrimBlanks(line)};
    ProfileKey key;
    const size_t equals = static_cast<size_t>(at) - 1;
    key.name = TrimBlanks(line.substr(0, equals));
    const std::string written = TrimBlanks(line.substr(equals + 1));
    key.value = ProfileValueAsRead(written);
    key.line = number;
    key.text = key.name + "=" + written;
    return key;
}

const char* const NewLine = "\r\n";

// The line end a replaced line keeps: its own, or CR LF for a last line
// that had none.
std::string LineEndOf(const std::string& text, const ProfileKey& key)
{
    if (key.end == 0 || text[key.end - 1] != '\n') return NewLine;
    if (key.end - key.start >= 2 && text[key.end - 2] == '\r') return NewLine;
    return "\n";
}

// `text` with `lines` put in at byte offset `at`, after a line end for a
// line that had none.
std::string InsertedAt(const std::string& text, size_t at, const std::string& lines)
{
    const bool needsLineEnd = at > 0 && text[at - 1] != '\n';
    return text.substr(0, at) + (needsLineEnd ? NewLine : "") + lines + text.substr(at);
}

// Where a key added to `section` goes: after its last key, else after its
// section line.
size_t EndOfKeys(const ProfileSection& section)
{
    return section.keys.empty() ? section.headerEnd : section.keys.back().end;
}

std::string SectionBlock(const std::string& section, const std::vector<std::string>& lines)
{
    std::string block = "[" + section + "]" + NewLine;
    for (const std::string& line : lines) block += line + NewLine;
    return block;
}

}  // namespace

std::string ProfileValueAsRead(const std::string& written)
{
    std::string value = TrimBlanks(written);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

ProfileText ProfileText::Parse(const std::string& text)
{
    ProfileText profile;
    std::vector<ProfileSection>& sections = profile.sections_;
    size_t start = 0;
    int number = 0;
    while (start < text.size()) {
        const size_t newline = text.find('\n', start);
        const size_t lineEnd = newline == std::string::npos ? text.size() : newline;
        const size_t next = newline == std::string::npos ? text.size() : newline + 1;
        const std::string line = TrimBlanks(text.substr(start, lineEnd - start));
        ++number;
        if (!line.empty()) {
            std::optional<std::string> name;
            if (line.front() == '[') name = SectionName(line);
            if (name) {
                if (!sections.empty()) sections.back().end = start;
                ProfileSection section;
                section.name = *name;
                section.line = number;
                section.start = start;
                section.headerEnd = next;
                sections.push_back(section);
            } else {
                // Lines before the first section form a section without a name.
                if (sections.empty()) {
                    ProfileSection loose;
                    loose.line = number;
                    loose.start = start;
                    loose.headerEnd = start;
                    loose.hasHeader = false;
                    sections.push_back(loose);
                }
                ProfileKey key = KeyOfLine(line, number);
                key.start = start;
                key.end = next;
                sections.back().keys.push_back(key);
            }
        }
        start = next;
    }
    if (!sections.empty()) sections.back().end = text.size();
    return profile;
}

const ProfileSection* ProfileText::FindSection(const std::string& section) const
{
    const std::string wanted = TrimBlanks(section);
    for (const auto& candidate : sections_)
        if (SameText(candidate.name, wanted)) return &candidate;
    return nullptr;
}

const ProfileKey* ProfileText::Find(const std::string& section, const std::string& key) const
{
    const ProfileSection* found = FindSection(section);
    if (found == nullptr) return nullptr;
    const std::string wanted = TrimBlanks(key);
    for (const auto& candidate : found->keys)
        if (SameText(candidate.name, wanted)) return &candidate;
    return nullptr;
}

std::string ProfileText::Read(const std::string& section, const std::string& key, const std::string& fallback) const
{
    const ProfileKey* found = Find(section, key);
    if (found == nullptr || !found->value) return fallback;
    return *found->value;
}

std::vector<std::string> ProfileText::SectionLines(const std::string& section) const
{
    std::vector<std::string> lines;
    // Unlike a read of one key, a section read takes the name as it is
    // given: with blanks around it, it finds nothing.
    const ProfileSection* found = TrimBlanks(section) == section ? FindSection(section) : nullptr;
    if (found == nullptr) return lines;
    // A section read leaves out the lines that start with ";", which a read
    // of a single key still finds.
    for (const ProfileKey& key : found->keys)
        if (!key.name.starts_with(";")) lines.push_back(key.text);
    return lines;
}

std::string WithProfileValue(const std::string& text, const std::string& section, const std::string& key,
                             const std::string& value)
{
    const ProfileText profile = ProfileText::Parse(text);
    const ProfileSection* inSection = profile.FindSection(section);
    if (inSection == nullptr) return InsertedAt(text, text.size(), SectionBlock(section, {key + "=" + value}));
    if (const ProfileKey* found = profile.Find(section, key)) {
        const std::string line = found->name + "=" + value + LineEndOf(text, *found);
        return text.substr(0, found->start) + line + text.substr(found->end);
    }
    return InsertedAt(text, EndOfKeys(*inSection), key + "=" + value + NewLine);
}

std::string WithoutProfileKey(const std::string& text, const std::string& section, const std::string& key)
{
    const ProfileText profile = ProfileText::Parse(text);
    const ProfileKey* found = profile.Find(section, key);
    if (found == nullptr) return text;
    return text.substr(0, found->start) + text.substr(found->end);
}

std::string WithoutProfileSection(const std::string& text, const std::string& section)
{
    const ProfileText profile = ProfileText::Parse(text);
    const ProfileSection* found = profile.FindSection(section);
    if (found == nullptr) return text;
    return text.substr(0, found->start) + text.substr(found->end);
}

std::string WithProfileSection(const std::string& text, const std::string& section,
                               const std::vector<std::string>& lines)
{
    const ProfileText profile = ProfileText::Parse(text);
    const ProfileSection* found = profile.FindSection(section);
    if (found == nullptr) return InsertedAt(text, text.size(), SectionBlock(section, lines));
    std::string block;
    for (const std::string& line : lines) block += line + NewLine;
    const size_t from = found->headerEnd;
    const size_t to = EndOfKeys(*found);
    return InsertedAt(text.substr(0, from) + text.substr(to), from, block);
}
