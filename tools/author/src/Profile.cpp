#include "Profile.h"

#include "FileData.h"
#include "SjisText.h"
#include "SystemText.h"

namespace {

std::string WithoutQuotes(const std::string& value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// The section name of a "[" line, or nothing when the line has no "]".
std::optional<std::string> SectionName(const std::string& line)
{
    const int close = LastPos("]", line);
    if (close == 0) return std::nullopt;
    return TrimBlanks(line.substr(1, static_cast<size_t>(close) - 2));
}

ProfileKey KeyOfLine(const std::string& line, int number)
{
    const int equals = MBPos("=", line);
    if (equals == 0) return ProfileKey{TrimBlanks(line), std::nullopt, number};
    const size_t at = static_cast<size_t>(equals) - 1;
    return ProfileKey{TrimBlanks(line.substr(0, at)), WithoutQuotes(TrimBlanks(line.substr(at + 1))), number};
}

}  // namespace

Profile Profile::Parse(const std::string& text)
{
    Profile profile;
    size_t start = 0;
    int number = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = TrimBlanks(text.substr(start, end - start));
        start = end + 1;
        ++number;
        if (line.empty()) continue;
        if (line.front() == '[') {
            if (auto name = SectionName(line)) {
                profile.sections_.push_back(ProfileSection{*name, {}, number});
                continue;
            }
        }
        // Lines before the first section form a section without a name.
        if (profile.sections_.empty()) profile.sections_.push_back(ProfileSection{"", {}, number});
        profile.sections_.back().keys.push_back(KeyOfLine(line, number));
    }
    return profile;
}

std::optional<Profile> Profile::Load(const std::filesystem::path& file, std::string& error)
{
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(file, bytes, error)) return std::nullopt;
    std::string text(bytes.begin(), bytes.end());
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        error = DisplayPath(file) + " is saved as UTF-16; save it as Shift-JIS";
        return std::nullopt;
    }
    if (text.starts_with("\xEF\xBB\xBF")) {
        const auto converted = Cp932FromUtf8(text.substr(3));
        if (!converted) {
            error = DisplayPath(file) + " has a UTF-8 mark but text that Shift-JIS cannot hold";
            return std::nullopt;
        }
        text = *converted;
    }
    return Parse(text);
}

const ProfileSection* Profile::FindSection(const std::string& section) const
{
    const std::string wanted = TrimBlanks(section);
    for (const auto& candidate : sections_)
        if (SameText(candidate.name, wanted)) return &candidate;
    return nullptr;
}

const ProfileKey* Profile::Find(const std::string& section, const std::string& key) const
{
    const ProfileSection* found = FindSection(section);
    if (found == nullptr) return nullptr;
    const std::string wanted = TrimBlanks(key);
    for (const auto& candidate : found->keys)
        if (SameText(candidate.name, wanted)) return &candidate;
    return nullptr;
}

std::string Profile::Read(const std::string& section, const std::string& key, const std::string& fallback) const
{
    const ProfileKey* found = Find(section, key);
    if (found == nullptr || !found->value) return fallback;
    return *found->value;
}
