#include "Commands.h"

#include "Distribution.h"
#include "FileData.h"
#include "Package.h"
#include "ScriptFile.h"
#include "Sha256File.h"
#include "SystemText.h"
#include "WingetManifest.h"
#include "script/ScopeExit.h"

#include <random>

#ifndef ORVANE_SETUP_EXE
#define ORVANE_SETUP_EXE ""
#endif
#ifndef ORVANE_PACKAGE_STUB
#define ORVANE_PACKAGE_STUB ""
#endif

namespace {

// A new empty folder under the system's temporary folder where the flat
// layout is made and the package is built and signed before it goes to
// OUTPUT; empty when none could be made.
std::filesystem::path MakeWorkFolder()
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

// Where the value of an option (TakesValue) goes.
void SetOption(const std::string& name, const std::string& value, PackageRequest& request)
{
    if (name == "--stub" || name == "--setup-exe") {
        (name == "--stub" ? request.stub : request.setupExe) = PathFromArgument(value);
        return;
    }
    if (name == "--sign") {
        request.signCommand = value;
        return;
    }
    std::string* const text = name == "--url"             ? &request.winget.installerUrl
                              : name == "--id"            ? &request.winget.identifier
                              : name == "--license"       ? &request.winget.license
                              : name == "--description"   ? &request.winget.description
                              : name == "--publisher-url" ? &request.winget.publisherUrl
                              : name == "--locale"        ? &request.winget.locale
                                                          : nullptr;
    // The manifests are UTF-8, whatever the system's code page.
    if (text != nullptr) *text = Utf8FromArgument(value).value_or(value);
}

bool TakesValue(const std::string& name)
{
    for (const char* option :
         {"--setup-exe", "--stub", "--sign", "--url", "--id", "--license", "--description", "--publisher-url", "--locale"})
        if (name == option) return true;
    return false;
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
        if (!TakesValue(name)) {
            paths.push_back(PathFromArgument(name));
            continue;
        }
        if (i + 1 == arguments.size()) {
            PrintError(name + (name == "--stub" || name == "--setup-exe" ? " needs a file" : " needs a value"));
            status = kExitCannot;
            return false;
        }
        SetOption(name, arguments[++i], request);
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

// The winget manifest set of the finished (and signed) package, in the
// folder "<OUTPUT's name without extension>.winget" beside it: its SHA-256,
// the script's values and the options'. When a field the repository
// requires is missing or refused, no set is written (an older one goes, so
// that it cannot be taken for this package's) and each field is named with
// what gives it.
bool WriteManifests(const SetupScript& script, const PackageRequest& request)
{
    std::string error;
    WingetPackage package = WingetPackageFromScript(script);
    ApplyWingetOptions(package, request.winget);
    const std::optional<std::string> hash = FileSha256Hex(request.output, error);
    if (!hash) {
        PrintError(error + "; the package is made, its manifests are not");
        return false;
    }
    package.installerSha256 = *hash;
    std::filesystem::path folder = request.output;
    folder.replace_extension(".winget");
    std::error_code code;
    std::filesystem::remove_all(folder, code);
    if (const auto problems = WingetFieldProblems(package); !problems.empty()) {
        for (const auto& problem : problems) PrintError(problem);
        PrintError("the package is made; its winget manifests are not, until every field above is given");
        return false;
    }
    std::filesystem::create_directories(folder, code);
    const auto written = WriteWingetManifests(package, folder, error);
    if (!written) {
        PrintError(error + "; the package is made, its manifests are not");
        return false;
    }
    for (const auto& file : *written) WriteLine(stdout, DisplayPath(file));
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
    const auto script = LoadScript(request.script, error);
    if (!script || !ReadFileBytes(request.script, scriptBytes, error)) {
        PrintError(error);
        return kExitCannot;
    }
    const std::filesystem::path work = MakeWorkFolder();
    if (work.empty()) {
        PrintError("cannot make a folder under the temporary folder; nothing was written");
        return kExitFailed;
    }
    ScopeExit removeWork([&] {
        std::error_code ignored;
        std::filesystem::remove_all(work, ignored);
    });

    const std::string scriptText(scriptBytes.begin(), scriptBytes.end());
    const PackagePlan plan = PlanPackage(*script, scriptText, request, work);
    for (const auto& warning : plan.warnings) PrintError("warning: " + warning);
    if (!plan.problems.empty()) {
        for (const auto& problem : plan.problems) PrintError(problem);
        PrintError("nothing was written");
        return kExitFailed;
    }
    std::vector<std::string> packed;
    if (!CarryOutPackage(plan, request, work, packed, error)) {
        PrintError(error);
        PrintError("nothing was written");
        return kExitFailed;
    }
    for (const auto& name : packed) WriteLine(stdout, name);

    return WriteManifests(*script, request) ? kExitOk : kExitFailed;
}
