#include "script/SetupScript.h"

#include "script/IntegerText.h"
#include "script/NumberedKeys.h"
#include "script/PathParts.h"
#include "script/TextCase.h"

#include <utility>

namespace {

// The pause between steps. A value that is no integer counts as the
// default; one below 1 becomes 1.
int32_t SetupSpeedOf(const ProfileText& profile)
{
    const int32_t speed = TextToInteger(profile.Read("Extend", "SetupSpeed", "400")).value_or(400);
    return speed < 1 ? 1 : speed;
}

std::vector<RelateRow> RelateRowsOf(const ProfileText& profile)
{
    std::vector<RelateRow> rows;
    for (int n = 1; n <= MaxRelateRows; ++n) {
        const std::string number = std::to_string(n);
        std::string name = profile.Read("Relate", "Name" + number);
        if (name.empty()) continue;
        std::string file = profile.Read("Relate", "File" + number);
        if (file.empty()) continue;
        rows.push_back({std::move(name), std::move(file)});
    }
    return rows;
}

std::vector<ShortcutItem> ShortcutsOf(const ProfileText& profile)
{
    const NumberedKeys keys(profile, "ShortCut");
    std::vector<ShortcutItem> items;
    int n = 0;
    for (std::string& make : keys.List("Make"))
        items.push_back({std::move(make), keys.Value("Name" + std::to_string(++n), "Default")});
    return items;
}

std::vector<RegistryItem> RegistryItemsOf(const ProfileText& profile)
{
    const NumberedKeys keys(profile, "Registry");
    std::vector<RegistryItem> items;
    int n = 0;
    for (std::string& key : keys.List("Key")) {
        const std::string number = std::to_string(++n);
        items.push_back({std::move(key), keys.Value("Name" + number), keys.Value("Value" + number)});
    }
    return items;
}

}  // namespace

ScriptHeader ReadScriptHeader(const ProfileText& profile)
{
    ScriptHeader header;
    header.setupTitle = profile.Read("Title", "Setup", "Orvane");
    header.unSetupTitle = profile.Read("Title", "UnSetup", header.setupTitle);
    header.addRemoveKey = profile.Read("Title", "UnSetupKey", header.unSetupTitle);
    header.addRemoveName = profile.Read("Title", "UnSetupDisplay", header.addRemoveKey);
    header.setupSpeed = SetupSpeedOf(profile);
    header.settingsChangeable = profile.Read("Extend", "Enabled") != "False";
    header.unSetupOption = profile.Read("Extend", "UnSetupOption");
    header.defaultFolder = profile.Read("DefaultFolder", "Folder", "(Prg)\\");
    header.referRegistry = profile.Read("DefaultFolder", "ReferRegistry");
    header.programId = profile.Read("ProgramID", "ID");
    for (size_t n = 0; n < header.topMessages.size(); ++n)
        header.topMessages[n] = profile.Read("TopMessage", "Message" + std::to_string(n + 1));
    header.readmeFile = profile.Read("Readme", "File");
    header.readmeTitle = profile.Read("Readme", "Title");
    header.readmeScrollBars = profile.Read("Readme", "ScrollBars", "ssVertical");
    return header;
}

std::string ReadmeName(const ScriptHeader& header)
{
    return WithoutLeadingBackslash(header.readmeFile);
}

bool IsSetupOnly(const std::string& unSetupTitle)
{
    return Contains(unSetupTitle, "Setup Only.");
}

SetupScript ParseSetupScript(const std::string& text)
{
    return ParseSetupScript(ProfileText::Parse(text));
}

SetupScript ParseSetupScript(ProfileText profile)
{
    SetupScript script;
    script.header = ReadScriptHeader(profile);
    script.product = ReadProductFacts(profile);
    script.relate = RelateRowsOf(profile);
    script.copyFiles = NumberedKeys(profile, "CopyFile").List("File");
    script.makeFolders = NumberedKeys(profile, "MakeFolder").List("Folder");
    script.shortcuts = ShortcutsOf(profile);
    script.registry = RegistryItemsOf(profile);
    script.iniFiles = NumberedKeys(profile, "IniFile").List("Data");
    script.deleteRegistry = NumberedKeys(profile, "DeleteRegistry").List("Key");
    script.addDeleteFiles = NumberedKeys(profile, "AddDeleteFile").List("File");
    script.executeFile = profile.Read("ExecuteFile", "File");
    script.profile = std::move(profile);
    return script;
}
