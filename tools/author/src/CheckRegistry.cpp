// Findings about registry texts: the root token in front of a key and the
// type token in front of a value are compared exactly, letter case included.
#include "CheckRules.h"

#include "ScriptModel.h"
#include "SjisText.h"

namespace {

constexpr size_t kRootLength = 7;
constexpr size_t kTypeLength = 5;

const char* const kRootList = "(Cuser), (Class), (Local) or (Users)";

bool IsExactly(const std::string& text, const std::vector<std::string>& words)
{
    for (const auto& word : words)
        if (text == word) return true;
    return false;
}

const std::string* SameButCase(const std::string& text, const std::vector<std::string>& words)
{
    for (const auto& word : words)
        if (SameText(text, word)) return &word;
    return nullptr;
}

// The installer takes the first seven characters as a root token when the
// first is "(" or the seventh is ")"; anything but an exact root token then
// selects HKEY_CURRENT_USER, and the key path starts at the eighth.
void CheckRootToken(const std::string& section, const std::string& key, const std::string& path,
                    Findings& findings)
{
    const bool hasRootShape = (!path.empty() && path[0] == '(') ||
                              (path.size() >= kRootLength && path[kRootLength - 1] == ')');
    if (!hasRootShape) return;
    const std::string root = path.substr(0, kRootLength);
    if (IsExactly(root, RegistryRootTokens())) return;
    if (const std::string* meant = SameButCase(root, RegistryRootTokens())) {
        // (cuser) in any case still selects HKEY_CURRENT_USER.
        if (*meant == "(Cuser)") return;
        findings.push_back({section, key,
                            "root token " + Quoted(root) + " is not " + Quoted(*meant) +
                                ": the key goes under HKEY_CURRENT_USER instead"});
        return;
    }
    std::string rest = path.size() > kRootLength ? path.substr(kRootLength) : std::string();
    findings.push_back({section, key,
                        Quoted(root) + " is taken as a root token, but it is not " + kRootList +
                            ": the key goes under HKEY_CURRENT_USER as " + Quoted(rest)});
}

void CheckTypeToken(const std::string& key, const std::string& rawValue, Findings& findings)
{
    const std::string value = WithoutPathMarks(rawValue);
    if (value.empty()) return;
    const std::string type = value.substr(0, kTypeLength);
    if (IsExactly(type, RegistryTypeTokens())) return;
    if (const std::string* meant = SameButCase(type, RegistryTypeTokens())) {
        findings.push_back({"Registry", key,
                            "type token " + Quoted(type) + " is not " + Quoted(*meant) +
                                ": the whole value, " + Quoted(type) + " included, is stored as a string"});
        return;
    }
    findings.push_back({"Registry", key,
                        Quoted(rawValue) +
                            " has no type token ((Str), (Int), (Dwd), (Bin) or (Exp)) at its start: the whole value "
                            "is stored as a string, as written"});
}

}  // namespace

void CheckRegistry(const Profile& script, Findings& findings)
{
    const auto keys = ReadList(script, "Registry", "Key");
    for (size_t i = 0; i < keys.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        CheckRootToken("Registry", "Key" + number, keys[i], findings);
        CheckTypeToken("Value" + number, script.Read("Registry", "Value" + number), findings);
    }
    const auto removals = ReadList(script, "DeleteRegistry", "Key");
    for (size_t i = 0; i < removals.size(); ++i)
        CheckRootToken("DeleteRegistry", "Key" + std::to_string(i + 1), removals[i], findings);

    std::string refer = script.Read("DefaultFolder", "ReferRegistry");
    if (const int comma = TokenPos(",", refer)) refer = refer.substr(0, static_cast<size_t>(comma) - 1);
    CheckRootToken("DefaultFolder", "ReferRegistry", refer, findings);
}
