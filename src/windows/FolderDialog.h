// The shell's folder browser as a component that a window owns: run it with
// Execute, then read the picked folder.
#pragma once

#include "windows/Window.h"

#include <shlobj.h>

#include <set>
#include <string>

enum class TFolderDlgOption {
    bifBrowseForComputer,
    bifBrowseForPrinter,
    bifDontGoBelowDomain,
    bifReturnFSAncestors,
    bifReturnOnlyFSDirs,
    bifStatusText
};

class FolderDialog {
public:
    explicit FolderDialog(Window& owner) : owner_(owner) {}

    // Shown by the browser above its folder tree.
    std::string title;
    std::set<TFolderDlgOption> option{TFolderDlgOption::bifReturnOnlyFSDirs};
    // The browser's callback and its data (none by default).
    BFFCALLBACK callback = nullptr;
    LPARAM callbackData = 0;

    // Runs the browser; true when a folder was picked, false when cancelled
    // or when the pick is no file-system folder or has a name that Shift-JIS
    // cannot hold (the picked folder and image index then stay as they were).
    bool Execute();
    // The folder picked last, without a trailing backslash.
    const std::string& Directory() const { return directory_; }
    int ImageIndex() const { return imageIndex_; }
    // The shell flags of the members of Option, combined.
    UINT Flags() const;

private:
    Window& owner_;
    std::string directory_;
    int imageIndex_ = 0;
};
