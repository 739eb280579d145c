#include "Distribution.h"

#include "SystemText.h"
#include "script/ShiftJis.h"
#include "script/TextCase.h"

std::string DiskFolderName(int disk)
{
    return "DISK" + std::to_string(disk);
}

std::optional<std::filesystem::path> FindEntry(const std::filesystem::path& folder, const std::string& name)
{
    if (name.empty()) return std::nullopt;
    std::error_code code;
    for (std::filesystem::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
        const auto entryName = Cp932FromSystemName(it->path().filename());
        if (entryName && SameText(*entryName, name)) return it->path();
    }
    return std::nullopt;
}

Distribution Distribution::At(const std::filesystem::path& folder)
{
    Distribution distribution;
    distribution.root_ = folder;
    const auto firstDisk = FindEntry(folder, DiskFolderName(1));
    std::error_code code;
    distribution.hasDisks_ = firstDisk && std::filesystem::is_directory(*firstDisk, code);
    return distribution;
}

Distribution Distribution::OfScript(const std::filesystem::path& script)
{
    const std::filesystem::path folder = std::filesystem::absolute(script).parent_path();
    const auto folderName = Cp932FromSystemName(folder.filename());
    if (folderName && SameText(*folderName, DiskFolderName(1))) {
        Distribution distribution = At(folder.parent_path());
        if (distribution.hasDisks_) return distribution;
    }
    return At(folder);
}

std::filesystem::path Distribution::DiskFolder(int disk) const
{
    if (!hasDisks_) return root_;
    return FindEntry(root_, DiskFolderName(disk)).value_or(root_ / DiskFolderName(disk));
}

std::optional<std::filesystem::path> Distribution::Find(int disk, const std::string& relativeName) const
{
    std::filesystem::path current = DiskFolder(disk);
    std::string rest = relativeName;
    while (true) {
        const int slash = MBPos("\\", rest);
        const std::string part = slash ? rest.substr(0, static_cast<size_t>(slash) - 1) : rest;
        auto found = FindEntry(current, part);
        if (!found) return std::nullopt;
        if (!slash) return found;
        current = *found;
        rest = rest.substr(static_cast<size_t>(slash));
    }
}
