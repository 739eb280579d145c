// Findings about [CopyFile]: the disk-change mark and the source files that
// the installer will look for, disk by disk.
#include "CheckRules.h"

#include "CompressedName.h"
#include "FileData.h"
#include "ScriptModel.h"
#include "SjisText.h"

namespace {

std::string KeyOf(const CopyEntry& entry)
{
    return "File" + std::to_string(entry.number);
}

std::string WhereItIsMissing(const CopyEntry& entry, const Distribution& distribution)
{
    if (!distribution.HasDiskFolders()) return "is not in the distribution folder";
    std::string where = "is not in " + DiskFolderName(entry.disk) + ", the disk it is read from";
    for (int disk = 1; disk <= 99; ++disk) {
        if (disk == entry.disk) continue;
        if (distribution.Find(disk, entry.sourceName)) return where + " (it is in " + DiskFolderName(disk) + ")";
    }
    return where;
}

void CheckCompressedSource(const CopyEntry& entry, const std::filesystem::path& file, Findings& findings)
{
    const auto stored = StoredLastChar(file);
    if (!stored) {
        std::string text = Quoted(entry.sourceName) + " ends in \"_\" but is not compressed: the installer copies it unchanged";
        if (entry.installName.empty()) text += ", under the name " + Quoted(entry.sourceName);
        findings.push_back({"CopyFile", KeyOf(entry), text});
        return;
    }
    if (!entry.installName.empty()) return;
    const std::string installed = ExpandedName(entry.sourceName, *stored);
    if (IsCompressedName(installed))
        findings.push_back({"CopyFile", KeyOf(entry),
                            "the expander cannot give " + Quoted(entry.sourceName) +
                                " its name back (it has no extension): it is installed as " + Quoted(installed) +
                                "; name it with \"|\""});
}

void CheckSource(const CopyEntry& entry, const Distribution& distribution, Findings& findings)
{
    if (entry.sourceName.empty()) {
        findings.push_back({"CopyFile", KeyOf(entry),
                            Quoted(entry.value) + " names no source file: its path ends in \"\\\" or \":\""});
        return;
    }
    const auto file = distribution.Find(entry.disk, entry.sourceName);
    if (!file) {
        findings.push_back({"CopyFile", KeyOf(entry),
                            "source file " + Quoted(entry.sourceName) + " " + WhereItIsMissing(entry, distribution) +
                                ": the installer reports it missing and installs nothing for this entry"});
        return;
    }
    std::error_code code;
    if (std::filesystem::is_directory(*file, code)) {
        findings.push_back({"CopyFile", KeyOf(entry),
                            "source " + Quoted(entry.sourceName) +
                                " is a folder, not a file: the installer cannot copy it and reports it as failed"});
        return;
    }
    if (IsCompressedName(entry.sourceName)) CheckCompressedSource(entry, *file, findings);
}

}  // namespace

void CheckCopyFiles(const Profile& script, const Distribution& distribution, Findings& findings)
{
    for (const auto& entry : ReadCopyEntries(script)) {
        if (!entry.diskChange && StartsWithText(entry.value, kDiskChange))
            findings.push_back({"CopyFile", KeyOf(entry),
                                "begins with " + Quoted(entry.value.substr(0, kDiskChange.size())) + ", not " +
                                    Quoted(kDiskChange) +
                                    ": no disk change is asked for, and the five characters stay in front of "
                                    "the destination path"});
        CheckSource(entry, distribution, findings);
    }
}
