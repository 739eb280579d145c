// Findings about registry texts: the root token in front of a key and the
// type token in front of a value are compared exactly, letter case included.
#include "CheckRules.h"

#include "Quoted.h"
#include "script/RegistrySection.h"
#include "script/ScriptTokens.h"
#include "script/TextCase.h"

#include <array>
#include <optional>
#include <string_view>

namespace {

constexpr size_t kTypeLength = 5;

const char* const kRootList = "(Cuser), (Class), (Local) or (Users)";

template <size_t N>
bool IsExactly(const std::string& text, const std::array<std::string_view, N>& words)
{
    for (const auto word : words)
        if (text == word) return true;
    return false;
}

template <size_t N>
std::optional<std::string> SameButCase(const std::string& text, const std::array<std::string_view, N>& words)
{
    for (const auto word : words)
        if (SameText(text, std::string(word))) return std::string(word);
    return std::nullopt;
}

// The installer reads a root token where the key has the shape of one (its
// first character "(" or its seventh ")"); anything but an exact root token
// then selects HKEY_CURRENT_USER, and the key path starts at the eighth.
void CheckRootToken(const std::string& section, const std::string& key, const std::string& path,
                    Findings& findings)
{
    if (!HasRootTokenShape(path)) return;
    const std::string root = ParseScriptRegistryKey(path).rootToken;
    if (IsExactly(root, ScriptTokens::RegistryRoots)) return;
    if (const auto meant = SameButCase(root, ScriptTokens::RegistryRoots)) {
        // (cuser) in any case still selects HKEY_CURRENT_USER.
        if (*meant == ScriptTokens::CurrentUser) return;
        findings.push_back({section, key,
                            "root token " + Quoted(root) + " is not " + Quoted(*meant) +
                                ": the key goes under HKEY_CURRENT_USER instead"});
        return;
    }
    const std::string rest = path.size() > root.size() ? path.substr(root.size()) : std::string();
    findings.push_back({section, key,
                        Quoted(root) + " is taken as a root token, but it is not " + kRootList +
                            ": the key goes under HKEY_CURRENT_USER as " + Quoted(rest)});
}

void CheckTypeToken(const std::string& key, const std::string& rawValue, Findings& findings)
{
    const std::string value = WithoutPathMarks(rawValue);
    if (value.empty()) return;
    const std::string type = value.substr(0, kTypeLength);
    if (IsExactly(type, ScriptTokens::RegistryTypes)) return;
    if (const auto meant = SameButCase(type, ScriptTokens::RegistryTypes)) {
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

void CheckRegistry(const SetupScript& script, Findings& findings)
{
    for (size_t i = 0; i < script.registry.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        CheckRootToken("Registry", "Key" + number, script.registry[i].key, findings);
        CheckTypeToken("Value" + number, script.registry[i].value, findings);
    }
    for (size_t i = 0; i < script.deleteRegistry.size(); ++i)
        CheckRootToken("DeleteRegistry", "Key" + std::to_string(i + 1), script.deleteRegistry[i], findings);

    std::string refer = script.header.referRegistry;
    if (const int comma = TokenPos(",", refer)) refer = refer.substr(0, static_cast<size_t>(comma) - 1);
    CheckRootToken("DefaultFolder", "ReferRegistry", refer, findings);
}
