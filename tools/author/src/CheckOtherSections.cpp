// Findings about [Relate] pairs, the program run after the setup, the pause
// between steps and the readme.
#include "CheckRules.h"

#include "ScriptModel.h"
#include "SjisText.h"

namespace {

void CheckRelatePairs(const Profile& script, Findings& findings)
{
    for (int n = 1; n <= kRelatePairs; ++n) {
        const std::string nameKey = "Name" + std::to_string(n);
        const std::string fileKey = "File" + std::to_string(n);
        const bool hasName = !script.Read("Relate", nameKey).empty();
        const bool hasFile = !script.Read("Relate", fileKey).empty();
        if (hasName == hasFile) continue;
        const std::string& filled = hasName ? nameKey : fileKey;
        const std::string& empty = hasName ? fileKey : nameKey;
        findings.push_back({"Relate", filled,
                            empty + " is missing or empty: the pair is skipped and no association is made"});
    }
}

void CheckExecuteFile(const Profile& script, Findings& findings)
{
    const std::string file = script.Read("ExecuteFile", "File");
    if (file != kRebootWord && SameText(file, kRebootWord))
        findings.push_back({"ExecuteFile", "File",
                            Quoted(file) + " is not " + Quoted(kRebootWord) +
                                " in capitals: no restart is offered; the installer tries to start a program of "
                                "that name and reports that it failed"});
}

bool IsWholeNumber(const std::string& text)
{
    size_t i = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
    if (i == text.size() || text.size() - i > 10) return false;
    for (size_t k = i; k < text.size(); ++k)
        if (text[k] < '0' || text[k] > '9') return false;
    const long long value = std::stoll(text);
    return value >= -2147483648LL && value <= 2147483647LL;
}

void CheckSetupSpeed(const Profile& script, Findings& findings)
{
    const ProfileKey* speed = script.Find("Extend", "SetupSpeed");
    if (speed == nullptr || !speed->value || IsWholeNumber(*speed->value)) return;
    findings.push_back({"Extend", "SetupSpeed",
                        Quoted(*speed->value) +
                            " is not a whole number: the installer cannot take it as the pause between steps in "
                            "milliseconds (400 when the key is left out)"});
}

void CheckReadme(const Profile& script, const Distribution& distribution, Findings& findings)
{
    const std::string readme = ReadmeName(script);
    if (readme.empty()) return;
    const std::string consequence = ": the installer starts on the settings screen, without the readme";
    if (Contains(readme, ":") || readme.starts_with("\\")) {
        findings.push_back({"Readme", "File",
                            Quoted(readme) + " is a full path, but the installer looks for the readme in its own "
                                             "folder and appends the path to it, so it never finds it" +
                                consequence});
        return;
    }
    if (distribution.Find(1, readme)) return;
    const std::string where = distribution.HasDiskFolders() ? DiskFolderName(1) : std::string("the distribution folder");
    findings.push_back({"Readme", "File", Quoted(readme) + " is not in " + where + consequence});
}

}  // namespace

void CheckOtherSections(const Profile& script, const Distribution& distribution, Findings& findings)
{
    CheckRelatePairs(script, findings);
    CheckExecuteFile(script, findings);
    CheckSetupSpeed(script, findings);
    CheckReadme(script, distribution, findings);
}
