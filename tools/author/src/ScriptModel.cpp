#include "ScriptModel.h"

#include "SjisText.h"
#include "text/ScriptTokens.h"

namespace {

// The installer's own token table, as texts.
template <size_t N>
std::vector<std::string> Texts(const std::array<std::string_view, N>& tokens)
{
    return {tokens.begin(), tokens.end()};
}

}  // namespace

const std::vector<std::string>& LocationTokens()
{
    static const std::vector<std::string> tokens = Texts(ScriptTokens::Locations);
    return tokens;
}

bool IsLocationToken(const std::string& token)
{
    for (const auto& known : LocationTokens())
        if (SameText(known, token)) return true;
    return false;
}

const std::vector<std::string>& RegistryRootTokens()
{
    static const std::vector<std::string> tokens = Texts(ScriptTokens::RegistryRoots);
    return tokens;
}

const std::vector<std::string>& RegistryTypeTokens()
{
    static const std::vector<std::string> tokens = Texts(ScriptTokens::RegistryTypes);
    return tokens;
}

std::vector<std::string> ReadList(const Profile& script, const std::string& section, const std::string& prefix)
{
    std::vector<std::string> values;
    for (int n = 1;; ++n) {
        std::string value = script.Read(section, prefix + std::to_string(n));
        if (value.empty()) break;
        values.push_back(std::move(value));
    }
    return values;
}

CopyEntry ParseCopyEntry(int number, const std::string& value, int previousDisk)
{
    CopyEntry entry;
    entry.number = number;
    entry.value = value;
    std::string path = value;
    entry.diskChange = path.compare(0, kDiskChange.size(), kDiskChange) == 0;
    if (entry.diskChange) path = path.substr(kDiskChange.size());
    entry.disk = previousDisk + (entry.diskChange ? 1 : 0);
    if (const int comma = TokenPos(",", path)) path = path.substr(0, static_cast<size_t>(comma) - 1);
    if (const int bar = TokenPos("|", path)) {
        entry.installName = path.substr(static_cast<size_t>(bar));
        path = path.substr(0, static_cast<size_t>(bar) - 1);
    }
    entry.sourceName = FileNamePart(path);
    return entry;
}

std::vector<CopyEntry> ReadCopyEntries(const Profile& script)
{
    std::vector<CopyEntry> entries;
    int disk = 1;
    int number = 0;
    for (const auto& value : ReadList(script, "CopyFile", "File")) {
        entries.push_back(ParseCopyEntry(++number, value, disk));
        disk = entries.back().disk;
    }
    return entries;
}

std::string ReadmeName(const Profile& script)
{
    const std::string name = script.Read("Readme", "File");
    return name.starts_with("\\") ? name.substr(1) : name;
}

std::string WithoutPathMarks(std::string value)
{
    while (const int at = TokenPos(kPathMark, value)) value.erase(static_cast<size_t>(at) - 1, kPathMark.size());
    return value;
}
