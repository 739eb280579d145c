#include "windows/FolderDialog.h"

#include "services/Win32Com.h"

UINT FolderDialog::Flags() const
{
    static constexpr std::pair<TFolderDlgOption, UINT> flags[] = {
        {TFolderDlgOption::bifBrowseForComputer, BIF_BROWSEFORCOMPUTER},
        {TFolderDlgOption::bifBrowseForPrinter, BIF_BROWSEFORPRINTER},
        {TFolderDlgOption::bifDontGoBelowDomain, BIF_DONTGOBELOWDOMAIN},
        {TFolderDlgOption::bifReturnFSAncestors, BIF_RETURNFSANCESTORS},
        {TFolderDlgOption::bifReturnOnlyFSDirs, BIF_RETURNONLYFSDIRS},
        {TFolderDlgOption::bifStatusText, BIF_STATUSTEXT},
    };
    UINT combined = 0;
    for (const auto& [flagOption, flag] : flags)
        if (option.count(flagOption) != 0) combined |= flag;
    return combined;
}

bool FolderDialog::Execute()
{
    char displayName[MAX_PATH] = {};
    BROWSEINFOA browse{};
    browse.hwndOwner = owner_.Handle();
    browse.pidlRoot = nullptr;  // the desktop
    browse.pszDisplayName = displayName;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = Flags();
    browse.lpfn = callback;
    browse.lParam = callbackData;
    TaskMem item(SHBrowseForFolderA(&browse));
    if (!item) return false;
    char path[MAX_PATH] = {};
    SHGetPathFromIDListA(static_cast<LPCITEMIDLIST>(item.Get()), path);
    directory_ = path;
    imageIndex_ = browse.iImage;
    return true;
}
