// The folder the package is unpacked into: new under the temporary folder,
// made by this run alone (CreateDirectoryW fails on a name that exists, so
// two runs never share one) with an access list of its own (FolderAccess.h),
// and removed with everything in it when the run ends, whichever way it
// ends.
#pragma once

#include <string>

class UnpackFolder {
public:
    UnpackFolder() = default;
    ~UnpackFolder();
    UnpackFolder(const UnpackFolder&) = delete;
    UnpackFolder& operator=(const UnpackFolder&) = delete;

    // False when no folder could be made.
    bool Create();
    // With a trailing backslash; empty before Create().
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};
