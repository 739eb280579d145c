// Findings about the shape of the script: the first section and the first
// key of a name win, and a numbered list ends at its first missing or empty
// number.
#include "CheckRules.h"

#include "script/RelateSection.h"
#include "script/TextCase.h"

#include <optional>

namespace {

struct NumberedList {
    const char* section;
    const char* prefix;
};

// The lists that the installer reads up to the first missing or empty
// value of the key that governs each entry.
constexpr NumberedList kLists[] = {
    {"CopyFile", "File"}, {"MakeFolder", "Folder"}, {"ShortCut", "Make"},      {"Registry", "Key"},
    {"IniFile", "Data"},  {"DeleteRegistry", "Key"}, {"AddDeleteFile", "File"},
};

std::string LineText(int line)
{
    return "line " + std::to_string(line);
}

void CheckDuplicateSections(const ProfileText& script, Findings& findings)
{
    for (const auto& section : script.Sections()) {
        const ProfileSection* first = script.FindSection(section.name);
        if (first == &section) continue;
        findings.push_back({section.name, "",
                            "a second [" + section.name + "] section (" + LineText(section.line) +
                                ") is never read: the installer reads only the first (" + LineText(first->line) +
                                ")"});
    }
}

void CheckDuplicateKeys(const ProfileText& script, Findings& findings)
{
    for (const auto& section : script.Sections()) {
        if (script.FindSection(section.name) != &section) continue;
        for (const auto& key : section.keys) {
            const ProfileKey* first = script.Find(section.name, key.name);
            if (first == &key || key.name.empty()) continue;
            findings.push_back({section.name, key.name,
                                "written again on " + LineText(key.line) +
                                    ", which is never read: the installer reads only the first (" +
                                    LineText(first->line) + ")"});
        }
    }
}

// The number of a key `prefix`<digits>, as written, or nothing.
std::optional<std::string> NumberPart(const std::string& keyName, const std::string& prefix)
{
    if (!StartsWithText(keyName, prefix) || keyName.size() == prefix.size()) return std::nullopt;
    const std::string digits = keyName.substr(prefix.size());
    for (const char c : digits)
        if (c < '0' || c > '9') return std::nullopt;
    return digits;
}

// A number far beyond any list's end counts as the largest int.
int NumberValue(const std::string& digits)
{
    return digits.size() > 9 ? 2147483647 : std::stoi(digits);
}

void CheckList(const ProfileText& script, const NumberedList& list, Findings& findings)
{
    const ProfileSection* section = script.FindSection(list.section);
    if (section == nullptr) return;
    const std::string prefix = list.prefix;
    int end = 1;
    while (!script.Read(list.section, prefix + std::to_string(end)).empty()) ++end;
    const std::string endKey = prefix + std::to_string(end);
    const std::string whyEnd = script.Find(list.section, endKey) ? "is empty" : "is missing";

    for (const auto& key : section->keys) {
        const auto digits = NumberPart(key.name, prefix);
        if (!digits || script.Find(list.section, key.name) != &key || key.value.value_or("").empty()) continue;
        if ((*digits)[0] == '0') {
            findings.push_back({list.section, key.name,
                                "never read: list numbers are written without leading zeros (" + prefix + "1, " +
                                    prefix + "2, ...)"});
        } else if (NumberValue(*digits) > end) {
            findings.push_back({list.section, key.name,
                                "never read: the list stops at " + endKey + ", which " + whyEnd});
        }
    }
}

void CheckRelateNumbers(const ProfileText& script, Findings& findings)
{
    const ProfileSection* section = script.FindSection("Relate");
    if (section == nullptr) return;
    for (const auto& key : section->keys) {
        auto digits = NumberPart(key.name, "Name");
        if (!digits) digits = NumberPart(key.name, "File");
        if (!digits || key.value.value_or("").empty()) continue;
        if ((*digits)[0] == '0' || NumberValue(*digits) > MaxRelateRows)
            findings.push_back({"Relate", key.name,
                                "never read: the installer reads only the pairs Name1/File1 to Name20/File20"});
    }
}

}  // namespace

void CheckStructure(const SetupScript& script, Findings& findings)
{
    CheckDuplicateSections(script.profile, findings);
    CheckDuplicateKeys(script.profile, findings);
    for (const auto& list : kLists) CheckList(script.profile, list, findings);
    CheckRelateNumbers(script.profile, findings);
}
