#include "Commands.h"

#include "Distribution.h"
#include "ScriptCheck.h"
#include "ScriptFile.h"
#include "SystemText.h"

namespace {

// PATH is the script itself, or a distribution folder that holds it flat or
// in DISK1.
std::filesystem::path ScriptOf(const std::filesystem::path& path)
{
    std::error_code code;
    if (!std::filesystem::is_directory(path, code)) return path;
    const Distribution distribution = Distribution::At(path);
    const auto script = distribution.Find(1, "SETUP.INI");
    return script ? *script : distribution.DiskFolder(1) / "SETUP.INI";
}

}  // namespace

int RunCheck(const Arguments& arguments)
{
    if (IsHelpRequest(arguments)) {
        PrintUsage("check");
        return kExitOk;
    }
    if (arguments.size() != 1) {
        PrintUsage("check");
        return kExitCannot;
    }
    const std::filesystem::path script = ScriptOf(PathFromArgument(arguments[0]));
    std::string error;
    const auto loaded = LoadScript(script, error);
    if (!loaded) {
        PrintError(error);
        return kExitCannot;
    }
    const auto findings = CheckScript(*loaded, Distribution::OfScript(script));
    for (const auto& finding : findings) WriteLine(stdout, FormatFinding(finding));
    return findings.empty() ? kExitOk : kExitFailed;
}
