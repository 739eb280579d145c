#include "Package.h"

#include "FileData.h"
#include "PackageWriter.h"
#include "PackagedScript.h"
#include "Quoted.h"
#include "Signing.h"
#include "SystemText.h"
#include "packageformat/PackageFormat.h"
#include "script/TextCase.h"

#include <algorithm>

namespace {

// The layout's steps in one folder. The same file on two disks (SETUP.EXE
// on the first and the last) is packed once; two different files of one
// name cannot lie side by side.
void LayFlat(PackagePlan& plan)
{
    std::vector<LayoutStep> flat;
    for (LayoutStep step : plan.layout.steps) {
        const auto same = std::find_if(flat.begin(), flat.end(),
                                       [&](const LayoutStep& kept) { return SameText(kept.name, step.name); });
        if (same != flat.end()) {
            if (same->from != step.from || same->kind != step.kind)
                plan.problems.push_back(Quoted(step.name) + " names two different files, on disk " +
                                        std::to_string(same->disk) + " and disk " + std::to_string(step.disk) +
                                        "; a package holds one folder");
            continue;
        }
        if (!PackageFormat::IsPlainFileName(step.name))
            plan.problems.push_back(Quoted(step.name) + " is not a plain file name; a package holds one folder");
        flat.push_back(step);
    }
    for (auto& step : flat) step.disk = 1;
    plan.layout.steps = std::move(flat);
    plan.layout.diskCount = 1;
}

void CheckStubAndOutput(PackagePlan& plan, const PackageRequest& request)
{
    std::error_code code;
    if (request.stub.empty() || !std::filesystem::is_regular_file(request.stub, code))
        plan.problems.push_back("the package stub (ORVSTUB.EXE) not found" +
                                (request.stub.empty() ? std::string() : " at " + DisplayPath(request.stub)) +
                                "; name it with --stub");
    if (std::filesystem::is_directory(request.output, code))
        plan.problems.push_back(DisplayPath(request.output) + " is a folder");
    if (!request.signCommand.empty())
        if (const std::string problem = SigningCommandProblem(request.signCommand); !problem.empty())
            plan.problems.push_back(problem);
}

std::filesystem::path FilesFolder(const std::filesystem::path& work)
{
    return work / "files";
}

// Where the package is made and signed before it goes to OUTPUT, under
// OUTPUT's own name: some signing tools tell a program by its extension.
std::filesystem::path BuiltPackage(const PackageRequest& request, const std::filesystem::path& work)
{
    return work / "package" / request.output.filename();
}

}  // namespace

PackagePlan PlanPackage(const SetupScript& script, const std::string& scriptText, const PackageRequest& request,
                        const std::filesystem::path& work)
{
    PackagePlan plan;
    const LayoutRequest layout{request.sourceFolder, request.script, request.setupExe, FilesFolder(work)};
    plan.layout = PlanLayout(script, layout);
    plan.problems = plan.layout.problems;
    plan.warnings = plan.layout.warnings;
    LayFlat(plan);
    CheckStubAndOutput(plan, request);
    std::string error;
    if (auto packaged = WithoutDiskChanges(scriptText, script, error))
        plan.packagedScript = std::move(*packaged);
    else
        plan.problems.push_back(error);
    return plan;
}

bool CarryOutPackage(const PackagePlan& plan, const PackageRequest& request, const std::filesystem::path& work,
                     std::vector<std::string>& packed, std::string& error)
{
    const std::filesystem::path staging = FilesFolder(work);
    if (!CarryOutLayout(plan.layout, staging, packed, error)) return false;
    const std::vector<uint8_t> script(plan.packagedScript.begin(), plan.packagedScript.end());
    if (!WriteFileBytes(staging / "SETUP.INI", script, error)) return false;
    // The author's time stamp, as for every other file: the same source
    // makes the same package.
    std::error_code code;
    std::filesystem::last_write_time(staging / "SETUP.INI", std::filesystem::last_write_time(request.script, code),
                                     code);
    const bool signing = !request.signCommand.empty();
    // SETUP.EXE is signed before it is packed; the uninstaller that the
    // install copies from it is then signed as well.
    if (signing && !SignFile(request.signCommand, staging / "SETUP.EXE", error)) return false;
    std::vector<PackedFile> files;
    for (const auto& name : packed) files.push_back(PackedFile{name, staging / *SystemNameFromCp932(name)});
    const std::filesystem::path built = BuiltPackage(request, work);
    std::filesystem::create_directories(built.parent_path(), code);
    if (!WritePackage(request.stub, files, built, error)) return false;
    if (signing && !SignFile(request.signCommand, built, error)) return false;
    return PlaceFile(built, request.output, error);
}
