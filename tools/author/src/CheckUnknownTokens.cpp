// Findings about parenthesised words in the values whose location tokens
// the installer replaces: a word that is no location token stays in the
// path as written.
#include "CheckRules.h"

#include "Quoted.h"
#include "script/LocationTokens.h"
#include "script/PathParts.h"
#include "script/RegistrySection.h"
#include "script/RelateSection.h"
#include "script/ScriptTokens.h"
#include "script/TextCase.h"

#include <functional>

namespace {

const std::string kDiskChange(ScriptTokens::DiskChange);

using Exempt = std::function<bool(const TokenShape&)>;

void CheckValue(const std::string& section, const std::string& key, const std::string& value, const Exempt& exempt,
                Findings& findings)
{
    for (const auto& token : TokenShapesIn(value)) {
        if (IsLocationToken(token.text) || (exempt && exempt(token))) continue;
        std::string text = Quoted(token.text) + " is not a location token: the installer leaves it in the path as written";
        if (SameText(token.text, kDiskChange))
            text = Quoted(token.text) + " marks a disk change only at the very start of the value: here the "
                                        "installer leaves it in the path as written";
        findings.push_back({section, key, text});
    }
}

void CheckList(const std::string& section, const std::string& prefix, const std::vector<std::string>& values,
               Findings& findings, const Exempt& exempt = nullptr)
{
    for (size_t i = 0; i < values.size(); ++i)
        CheckValue(section, prefix + std::to_string(i + 1), values[i], exempt, findings);
}

// The targets first, then the names.
void CheckShortcuts(const SetupScript& script, Findings& findings)
{
    for (size_t i = 0; i < script.shortcuts.size(); ++i)
        CheckValue("ShortCut", "Make" + std::to_string(i + 1), script.shortcuts[i].make, nullptr, findings);
    for (size_t i = 0; i < script.shortcuts.size(); ++i)
        CheckValue("ShortCut", "Name" + std::to_string(i + 1), script.shortcuts[i].name, nullptr, findings);
}

void CheckRegistryValues(const SetupScript& script, Findings& findings)
{
    // The type token at the start is judged on its own (CheckRegistry).
    const Exempt typeToken = [](const TokenShape& token) {
        if (token.at != 0) return false;
        for (const auto type : ScriptTokens::RegistryTypes)
            if (SameText(std::string(type), token.text)) return true;
        return false;
    };
    for (size_t i = 0; i < script.registry.size(); ++i)
        CheckValue("Registry", "Value" + std::to_string(i + 1), WithoutPathMarks(script.registry[i].value), typeToken,
                   findings);
}

}  // namespace

void CheckUnknownTokens(const SetupScript& script, Findings& findings)
{
    // A disk-change mark at the start is judged by CheckCopyFiles.
    const Exempt leadingDiskChange = [](const TokenShape& token) {
        return token.at == 0 && SameText(token.text, kDiskChange);
    };
    CheckList("CopyFile", "File", script.copyFiles, findings, leadingDiskChange);
    CheckList("MakeFolder", "Folder", script.makeFolders, findings);
    CheckShortcuts(script, findings);
    CheckRegistryValues(script, findings);
    CheckList("IniFile", "Data", script.iniFiles, findings);
    CheckList("AddDeleteFile", "File", script.addDeleteFiles, findings);
    for (int n = 1; n <= MaxRelateRows; ++n) {
        const std::string key = "File" + std::to_string(n);
        CheckValue("Relate", key, script.profile.Read("Relate", key), nullptr, findings);
    }
    CheckValue("ExecuteFile", "File", script.executeFile, nullptr, findings);
    CheckValue("DefaultFolder", "Folder", script.header.defaultFolder, nullptr, findings);
}
