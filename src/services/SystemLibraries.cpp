#include "services/SystemLibraries.h"

#include <string>

namespace {

// Windows 8, and Windows 7 with its 2011 loader update (KB2533623), have
// the function; it is looked up so that SETUP.EXE still starts without it.
using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);

bool SystemHasSearchFlags()
{
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return kernel != nullptr && GetProcAddress(kernel, "SetDefaultDllDirectories") != nullptr;
}

std::wstring SystemFolderPath(const wchar_t* name)
{
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return {};
    return std::wstring(folder, length) + L"\\" + name;
}

// "C:\..." or "\\server\...": what the folder-relative search flags need.
bool IsFullPath(const wchar_t* path)
{
    const bool drive = path[0] != L'\0' && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
    const bool share = (path[0] == L'\\' || path[0] == L'/') && (path[1] == L'\\' || path[1] == L'/');
    return drive || share;
}

}  // namespace

void RestrictDllSearchToSystemFolder()
{
    SetDllDirectoryW(L"");
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (kernel == nullptr) return;
    const auto restrict = reinterpret_cast<SetDefaultDllDirectoriesProc>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (restrict != nullptr) restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE LoadSystemLibrary(const wchar_t* name)
{
    if (SystemHasSearchFlags()) return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    const std::wstring path = SystemFolderPath(name);
    return path.empty() ? nullptr : LoadLibraryW(path.c_str());
}

HMODULE LoadComponentLibrary(const wchar_t* path)
{
    // Both flags take only a full path; anything else is loaded as the
    // process's search finds it.
    if (!IsFullPath(path)) return LoadLibraryW(path);
    if (SystemHasSearchFlags())
        return LoadLibraryExW(path, nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
