#include "windows/FolderDialog.h"

#include "services/Win32Com.h"
#include "text/Unicode.h"

#include <optional>

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
    wchar_t displayName[MAX_PATH] = {};
    const std::wstring wideTitle = WideFromShiftJis(title);
    BROWSEINFOW browse{};
    browse.hwndOwner = owner_.Handle();
    browse.pidlRoot = nullptr;  // the desktop
    browse.pszDisplayName = displayName;
    browse.lpszTitle = wideTitle.c_str();
    browse.ulFlags = Flags();
    browse.lpfn = callback;
    browse.lParam = callbackData;
    TaskMem item(SHBrowseForFolderW(&browse));
    if (!item) return false;
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(static_cast<LPCITEMIDLIST>(item.Get()), path)) return false;
    // A folder whose name Shift-JIS cannot hold (one named "Zoë") cannot be
    // set up into: it counts as not picked, as a "?" in its place would
    // name another folder.
    const std::optional<std::string> picked = ShiftJisFromWide(path);
    if (!picked) return false;
    directory_ = *picked;
    imageIndex_ = browse.iImage;
    return true;
}
