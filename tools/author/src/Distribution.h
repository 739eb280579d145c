// A distribution folder as SETUP.EXE finds its files: flat (SETUP.EXE,
// SETUP.INI and every file in one folder), or one folder per disk, DISK1,
// DISK2, ..., each the image of one disk. SETUP.EXE reads every source from
// its own folder; a "(Dch)" entry asks the user for the next disk, so disk
// n holds the entries from the (n-1)th "(Dch)" entry on. Windows finds file
// names without regard to case, and so does this lookup.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

class Distribution {
public:
    // The distribution that `folder` holds: disk folders when it has DISK1.
    static Distribution At(const std::filesystem::path& folder);
    // The distribution of a script: its folder, or the folder above when
    // the script lies in DISK1.
    static Distribution OfScript(const std::filesystem::path& script);

    bool HasDiskFolders() const { return hasDisks_; }
    const std::filesystem::path& Root() const { return root_; }
    // The folder of disk `disk` (the root itself for a flat distribution).
    std::filesystem::path DiskFolder(int disk) const;
    // The file or folder named by the Shift-JIS `relativeName` ("\" between
    // its parts) on `disk`, or nothing.
    std::optional<std::filesystem::path> Find(int disk, const std::string& relativeName) const;

private:
    std::filesystem::path root_;
    bool hasDisks_ = false;
};

// The entry of `folder` named `name` (Shift-JIS), compared as Windows does,
// or nothing.
std::optional<std::filesystem::path> FindEntry(const std::filesystem::path& folder, const std::string& name);

// The folder name of disk `disk`: DISK1, DISK2, ...
std::string DiskFolderName(int disk);
