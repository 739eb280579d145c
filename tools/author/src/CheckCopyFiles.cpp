// Findings about [CopyFile]: the disk-change mark and the source files that
// the installer will look for, disk by disk, under the names its copy step
// reads (CopyPrediction.h).
#include "CheckRules.h"

#include "CompressedName.h"
#include "CopyPrediction.h"
#include "FileData.h"
#include "Quoted.h"
#include "script/ScriptTokens.h"
#include "script/TextCase.h"

namespace {

const std::string kDiskChange(ScriptTokens::DiskChange);

std::string KeyOf(const PredictedCopy& copy)
{
    return "File" + std::to_string(copy.number);
}

std::string WhereItIsMissing(const PredictedCopy& copy, const Distribution& distribution)
{
    if (!distribution.HasDiskFolders()) return "is not in the distribution folder";
    std::string where = "is not in " + DiskFolderName(copy.disk) + ", the disk it is read from";
    for (int disk = 1; disk <= 99; ++disk) {
        if (disk == copy.disk) continue;
        if (distribution.Find(disk, copy.SourceName()))
            return where + " (it is in " + DiskFolderName(disk) + ")";
    }
    return where;
}

bool IsRenamed(const PredictedCopy& copy)
{
    return Contains(copy.entry.pathPart, "|");
}

void CheckCompressedSource(const PredictedCopy& copy, const std::filesystem::path& file, Findings& findings)
{
    const auto stored = StoredLastChar(file);
    if (!stored) {
        std::string text = Quoted(copy.SourceName()) +
                           " ends in \"_\" but is not compressed: the installer copies it unchanged";
        if (!IsRenamed(copy)) text += ", under the name " + Quoted(copy.SourceName());
        findings.push_back({"CopyFile", KeyOf(copy), text});
        return;
    }
    if (IsRenamed(copy)) return;
    const std::string installed = ExpandedName(copy.SourceName(), *stored);
    if (IsCompressedName(installed))
        findings.push_back({"CopyFile", KeyOf(copy),
                            "the expander cannot give " + Quoted(copy.SourceName()) +
                                " its name back (it has no extension): it is installed as " + Quoted(installed) +
                                "; name it with \"|\""});
}

// The measuring step, before anything is copied, looks for the file-name
// part of the value as written, on the first disk. A token written right
// before the name ("(Sys)ACCSHR.DLL", which is right: every token's folder
// ends in "\") is part of that name, so the file counts as missing there:
// the progress bar then counts entries instead of bytes, and the free space
// is not checked. The copy step reads the file all the same.
void CheckMeasuredName(const PredictedCopy& copy, const Distribution& distribution, Findings& findings)
{
    if (!copy.MeasuredUnderAnotherName() || copy.SourceName().empty()) return;
    if (distribution.Find(1, copy.measuredName)) return;
    findings.push_back({"CopyFile", KeyOf(copy),
                        "before copying, the installer measures the sources by the name as written, " +
                            Quoted(copy.measuredName) + ", which it does not find: its progress bar counts entries "
                            "instead of bytes and it does not check the free space; the file itself is copied from " +
                            Quoted(copy.SourceName()) + "; with a \"\\\" after the token both steps read that name"});
}

void CheckSource(const PredictedCopy& copy, const Distribution& distribution, Findings& findings)
{
    if (copy.SourceName().empty()) {
        findings.push_back({"CopyFile", KeyOf(copy),
                            Quoted(copy.value) + " names no source file: its path ends in \"\\\" or \":\""});
        return;
    }
    const auto file = distribution.Find(copy.disk, copy.SourceName());
    if (!file) {
        findings.push_back({"CopyFile", KeyOf(copy),
                            "source file " + Quoted(copy.SourceName()) + " " + WhereItIsMissing(copy, distribution) +
                                ": the installer reports it missing and installs nothing for this entry"});
        return;
    }
    std::error_code code;
    if (std::filesystem::is_directory(*file, code)) {
        findings.push_back({"CopyFile", KeyOf(copy),
                            "source " + Quoted(copy.SourceName()) +
                                " is a folder, not a file: the installer cannot copy it and reports it as failed"});
        return;
    }
    if (copy.entry.compressed) CheckCompressedSource(copy, *file, findings);
    CheckMeasuredName(copy, distribution, findings);
}

}  // namespace

void CheckCopyFiles(const SetupScript& script, const Distribution& distribution, Findings& findings)
{
    for (const PredictedCopy& copy : PredictCopies(script)) {
        if (!copy.entry.diskChange && StartsWithText(copy.value, kDiskChange))
            findings.push_back({"CopyFile", KeyOf(copy),
                                "begins with " + Quoted(copy.value.substr(0, kDiskChange.size())) + ", not " +
                                    Quoted(kDiskChange) +
                                    ": no disk change is asked for, and the five characters stay in front of "
                                    "the destination path"});
        CheckSource(copy, distribution, findings);
    }
}
