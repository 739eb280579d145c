#include "Commands.h"

#include "Distribution.h"
#include "FileData.h"
#include "Package.h"
#include "Sha256.h"
#include "SystemText.h"
#include "WingetManifest.h"
#include "services/ScopeExit.h"

#include <random>

#ifndef ORVANE_SETUP_EXE
#define ORVANE_SETUP_EXE ""
#endif
#ifndef ORVANE_PACKAGE_STUB
#define ORVANE_PACKAGE_STUB ""
#endif

namespace {

// A new empty folder under the system's temporary folder where the flat
// layout is made before it is packed; empty when none could be made.
std::filesystem::path MakeStagingFolder()
{
    std::error_code code;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(code);
    if (code) return {};
    std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path folder = temp / ("orvauthor-package-" + std::to_string(seed()));
        if (std::filesystem::create_directory(folder, code)) return folder;
    }
    return {};
}

// Reads the options and the two paths; false (with the status) when the
// command cannot go on.
bool ReadArguments(const Arguments& arguments, PackageRequest& request, int& status)
{
    request.setupExe = ORVANE_SETUP_EXE;
    request.stub = ORVANE_PACKAGE_STUB;
    std::vector<std::filesystem::path> paths;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        const bool fileOption = name == "--setup-exe" || name == "--stub";
        const bool textOption = name == "--url" || name == "--id";
        if (!fileOption && !textOption) {
            paths.push_back(PathFromArgument(name));
            continue;
        }
        if (i + 1 == arguments.size()) {
            PrintError(name + (fileOption ? " needs a file" : " needs a value"));
            status = kExitCannot;
            return false;
        }
        const std::string& value = arguments[++i];
        if (name == "--stub") request.stub = PathFromArgument(value);
        if (name == "--setup-exe") request.setupExe = PathFromArgument(value);
        if (name == "--url") request.installerUrl = value;
        if (name == "--id") request.identifier = value;
    }
    if (paths.size() != 2) {
        PrintUsage("package");
        status = kExitCannot;
        return false;
    }
    request.sourceFolder = paths[0];
    request.output = paths[1];
    request.script = FindEntry(request.sourceFolder, "SETUP.INI").value_or(request.sourceFolder / "SETUP.INI");
    return true;
}

// The winget manifest set of the finished package, in the folder
// "<OUTPUT's name without extension>.winget" beside it: the package's
// SHA-256, the download address given (or a placeholder), and the rest from
// the script. What still holds a placeholder is named, for the author to
// fill in before submitting.
bool WriteManifests(const Profile& script, const PackageRequest& request)
{
    std::string error;
    WingetPackage package = WingetPackageFromScript(script);
    if (!request.identifier.empty()) package.identifier = request.identifier;
    if (!request.installerUrl.empty()) package.installerUrl = request.installerUrl;
    const std::optional<std::string> hash = FileSha256Hex(request.output, error);
    if (!hash) {
        PrintError(error);
        return false;
    }
    package.installerSha256 = *hash;
    std::filesystem::path folder = request.output;
    folder.replace_extension(".winget");
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    const auto written = WriteWingetManifests(package, folder, error);
    if (!written) {
        PrintError(error + "; the package is made, its manifests are not");
        return false;
    }
    for (const auto& file : *written) WriteLine(stdout, DisplayPath(file));
    for (const auto& field : WingetPlaceholderFields(package))
        PrintError("warning: the manifests' " + field + " is a placeholder to fill in");
    return true;
}

}  // namespace

int RunPackage(const Arguments& arguments)
{
    if (IsHelpRequest(arguments)) {
        PrintUsage("package");
        return kExitOk;
    }
    PackageRequest request;
    int status = kExitOk;
    if (!ReadArguments(arguments, request, status)) return status;

    std::string error;
    std::vector<uint8_t> scriptBytes;
    const auto script = Profile::Load(request.script, error);
    if (!script || !ReadFileBytes(request.script, scriptBytes, error)) {
        PrintError(error);
        return kExitCannot;
    }
    const std::filesystem::path staging = MakeStagingFolder();
    if (staging.empty()) {
        PrintError("cannot make a folder under the temporary folder; nothing was written");
        return kExitFailed;
    }
    ScopeExit removeStaging([&] {
        std::error_code ignored;
        std::filesystem::remove_all(staging, ignored);
    });

    const std::string scriptText(scriptBytes.begin(), scriptBytes.end());
    const PackagePlan plan = PlanPackage(*script, scriptText, request, staging);
    for (const auto& warning : plan.warnings) PrintError("warning: " + warning);
    if (!plan.problems.empty()) {
        for (const auto& problem : plan.problems) PrintError(problem);
        PrintError("nothing was written");
        return kExitFailed;
    }
    std::vector<std::string> packed;
    if (!CarryOutPackage(plan, request, staging, packed, error)) {
        PrintError(error);
        PrintError("nothing was written");
        return kExitFailed;
    }
    for (const auto& name : packed) WriteLine(stdout, name);

    return WriteManifests(*script, request) ? kExitOk : kExitFailed;
}
