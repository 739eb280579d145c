// Findings about [Relate] pairs, the program run after the setup, the pause
// between steps and the readme.
#include "CheckRules.h"

#include "Quoted.h"
#include "script/IntegerText.h"
#include "script/RelateSection.h"
#include "script/TextCase.h"

namespace {

const std::string kRebootWord = RebootRequest;

void CheckRelatePairs(const SetupScript& script, Findings& findings)
{
    for (int n = 1; n <= MaxRelateRows; ++n) {
        const std::string nameKey = "Name" + std::to_string(n);
        const std::string fileKey = "File" + std::to_string(n);
        const bool hasName = !script.profile.Read("Relate", nameKey).empty();
        const bool hasFile = !script.profile.Read("Relate", fileKey).empty();
        if (hasName == hasFile) continue;
        const std::string& filled = hasName ? nameKey : fileKey;
        const std::string& empty = hasName ? fileKey : nameKey;
        findings.push_back({"Relate", filled,
                            empty + " is missing or empty: the pair is skipped and no association is made"});
    }
}

void CheckExecuteFile(const SetupScript& script, Findings& findings)
{
    const std::string& file = script.executeFile;
    if (file != kRebootWord && SameText(file, kRebootWord))
        findings.push_back({"ExecuteFile", "File",
                            Quoted(file) + " is not " + Quoted(kRebootWord) +
                                " in capitals: no restart is offered; the installer tries to start a program of "
                                "that name and reports that it failed"});
}

void CheckSetupSpeed(const SetupScript& script, Findings& findings)
{
    // The installer takes what its integer conversion takes ("$10", a
    // hexadecimal number, too); anything else counts as the default.
    const ProfileKey* speed = script.profile.Find("Extend", "SetupSpeed");
    if (speed == nullptr || !speed->value || TextToInteger(*speed->value)) return;
    findings.push_back({"Extend", "SetupSpeed",
                        Quoted(*speed->value) +
                            " is not a whole number: the installer cannot take it as the pause between steps in "
                            "milliseconds (400 when the key is left out)"});
}

void CheckReadme(const SetupScript& script, const Distribution& distribution, Findings& findings)
{
    const std::string readme = ReadmeName(script.header);
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

void CheckOtherSections(const SetupScript& script, const Distribution& distribution, Findings& findings)
{
    CheckRelatePairs(script, findings);
    CheckExecuteFile(script, findings);
    CheckSetupSpeed(script, findings);
    CheckReadme(script, distribution, findings);
}
