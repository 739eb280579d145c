#include "Layout.h"

#include "CompressFile.h"
#include "CompressedName.h"
#include "CopyPrediction.h"
#include "Distribution.h"
#include "FileData.h"
#include "Quoted.h"
#include "SystemText.h"
#include "script/ShiftJis.h"
#include "script/TextCase.h"

#include <algorithm>

namespace {

class Planner {
public:
    Planner(const SetupScript& script, const LayoutRequest& request) : script_(script), request_(request) {}

    LayoutPlan Plan()
    {
        const auto copies = PredictCopies(script_);
        for (const auto& copy : copies) plan_.diskCount = std::max(plan_.diskCount, copy.disk);
        CheckDestination();
        Add(LayoutStep::Kind::Copy, request_.script, 1, "SETUP.INI");
        AddSetupProgram();
        AddReadme();
        for (const auto& copy : copies) AddEntry(copy);
        return plan_;
    }

private:
    void CheckDestination()
    {
        std::error_code code;
        if (std::filesystem::exists(request_.destination, code) &&
            !(std::filesystem::is_directory(request_.destination, code) &&
              std::filesystem::is_empty(request_.destination, code)))
            plan_.problems.push_back(DisplayPath(request_.destination) + " exists and is not an empty folder");
    }

    void AddSetupProgram()
    {
        std::error_code code;
        if (request_.setupExe.empty() || !std::filesystem::is_regular_file(request_.setupExe, code)) {
            plan_.problems.push_back("SETUP.EXE not found" +
                                     (request_.setupExe.empty() ? std::string() : " at " + DisplayPath(request_.setupExe)) +
                                     "; name it with --setup-exe");
            return;
        }
        Add(LayoutStep::Kind::Copy, request_.setupExe, 1, "SETUP.EXE");
        if (plan_.diskCount > 1) Add(LayoutStep::Kind::Copy, request_.setupExe, plan_.diskCount, "SETUP.EXE");
    }

    void AddReadme()
    {
        const std::string readme = ReadmeName(script_.header);
        if (readme.empty()) return;
        if (Contains(readme, ":") || readme.starts_with("\\")) {
            plan_.warnings.push_back("[Readme] File " + Quoted(readme) +
                                     " is a full path, which the installer never finds; no readme is laid out");
            return;
        }
        const auto found = Distribution::At(request_.sourceFolder).Find(1, readme);
        std::error_code code;
        if (!found || !std::filesystem::is_regular_file(*found, code)) {
            plan_.problems.push_back("[Readme] File: " + Quoted(readme) + " is not a file in the source folder");
            return;
        }
        Add(LayoutStep::Kind::Copy, *found, 1, readme);
    }

    // Each source under the name the installer's copy step reads, on the
    // disk it reads it from.
    void AddEntry(const PredictedCopy& copy)
    {
        const std::string key = "[CopyFile] File" + std::to_string(copy.number) + ": ";
        const std::string& name = copy.SourceName();
        if (name.empty()) {
            plan_.problems.push_back(key + Quoted(copy.value) + " names no source file");
            return;
        }
        if (copy.MeasuredUnderAnotherName())
            plan_.warnings.push_back(key + "the installer measures the sources by the name as written, " +
                                     Quoted(copy.measuredName) + ", and counts its progress by entries without "
                                     "checking the free space; " + Quoted(name) + " is laid out and copied");
        if (copy.entry.compressed) {
            AddCompressed(copy, key);
            return;
        }
        const auto found = FindEntry(request_.sourceFolder, name);
        std::error_code code;
        if (!found || !std::filesystem::is_regular_file(*found, code)) {
            plan_.problems.push_back(key + Quoted(name) + " is not a file in the source folder");
            return;
        }
        Add(LayoutStep::Kind::Copy, *found, copy.disk, name);
    }

    void AddCompressed(const PredictedCopy& copy, const std::string& key)
    {
        std::vector<std::pair<std::filesystem::path, OriginalName>> originals;
        std::error_code code;
        for (std::filesystem::directory_iterator it(request_.sourceFolder, code), end; !code && it != end;
             it.increment(code)) {
            const auto name = Cp932FromSystemName(it->path().filename());
            if (!name || !it->is_regular_file()) continue;
            if (auto original = OriginalFor(copy.SourceName(), *name)) originals.emplace_back(it->path(), *original);
        }
        if (originals.size() > 1) {
            std::string names;
            for (const auto& [path, original] : originals) names += (names.empty() ? "" : ", ") + Quoted(original.name);
            plan_.problems.push_back(key + "more than one original for " + Quoted(copy.SourceName()) + ": " + names);
            return;
        }
        if (originals.size() == 1) {
            Add(LayoutStep::Kind::Compress, originals[0].first, copy.disk, copy.SourceName(),
                originals[0].second.storedChar);
            return;
        }
        const auto ready = FindEntry(request_.sourceFolder, copy.SourceName());
        if (ready && std::filesystem::is_regular_file(*ready, code) && StoredLastChar(*ready)) {
            Add(LayoutStep::Kind::Copy, *ready, copy.disk, copy.SourceName());
            return;
        }
        plan_.problems.push_back(key + "no original for " + Quoted(copy.SourceName()) +
                                 " in the source folder (the same name with its last character, or without the "
                                 "\"_\")" +
                                 (ready ? std::string(", and the file of that name is not compressed") : std::string()));
    }

    void Add(LayoutStep::Kind kind, const std::filesystem::path& from, int disk, const std::string& name,
             unsigned char storedChar = 0)
    {
        // The same file named twice on one disk is laid out once.
        for (const auto& step : plan_.steps)
            if (step.disk == disk && SameText(step.name, name)) return;
        if (!SystemNameFromCp932(name)) {
            plan_.problems.push_back(Quoted(name) + " is not valid Shift-JIS");
            return;
        }
        plan_.steps.push_back(LayoutStep{kind, from, disk, name, storedChar});
    }

    const SetupScript& script_;
    const LayoutRequest& request_;
    LayoutPlan plan_;
};

// The system path of a Shift-JIS name relative to `folder`.
std::filesystem::path Under(const std::filesystem::path& folder, const std::string& name)
{
    std::filesystem::path path = folder;
    std::string rest = name;
    while (true) {
        const int slash = MBPos("\\", rest);
        path /= *SystemNameFromCp932(slash ? rest.substr(0, static_cast<size_t>(slash) - 1) : rest);
        if (!slash) return path;
        rest = rest.substr(static_cast<size_t>(slash));
    }
}

}  // namespace

LayoutPlan PlanLayout(const SetupScript& script, const LayoutRequest& request)
{
    return Planner(script, request).Plan();
}

bool CarryOutLayout(const LayoutPlan& plan, const std::filesystem::path& destination, std::vector<std::string>& made,
                    std::string& error)
{
    for (const auto& step : plan.steps) {
        const std::filesystem::path diskFolder =
            plan.diskCount > 1 ? destination / DiskFolderName(step.disk) : destination;
        const std::filesystem::path target = Under(diskFolder, step.name);
        std::error_code code;
        std::filesystem::create_directories(target.parent_path(), code);
        if (code) {
            error = "cannot create " + DisplayPath(target.parent_path()) + ": " + code.message();
            return false;
        }
        const bool done = step.kind == LayoutStep::Kind::Compress
                              ? CompressFileTo(step.from, target, step.storedChar, error)
                              : CopyWithTimeStamp(step.from, target, error);
        if (!done) return false;
        made.push_back((plan.diskCount > 1 ? DiskFolderName(step.disk) + "\\" : std::string()) + step.name);
    }
    return true;
}
