#include "services/ShellFolders.h"

#include "script/PathParts.h"
#include "services/Win32Com.h"
#include "text/Unicode.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <utility>

std::string ShellFolderText(const std::wstring& path)
{
    if (std::optional<std::string> narrow = ShiftJisFromWide(path)) return std::move(*narrow);
    return UnrepresentableFolder(ShiftJisFromWideForDisplay(path));
}

std::string GetSpecialFolder(int csidl)
{
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) || items == nullptr) return {};
    const TaskMem itemList(items);
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(items, path)) return {};
    return ShellFolderText(path);
}

std::string GetSpecialFolderPath(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) || path[0] == L'\0') return {};
    return ShellFolderText(path);
}
