#include "UnpackFolder.h"

#include "FolderAccess.h"
#include "services/Win32Files.h"

#include <windows.h>

namespace {

// Removes `folder` (with a trailing backslash) and everything in it,
// read-only files included. SETUP.EXE has just ended: a scanner that
// still holds one of its files lets go shortly, so a refused deletion is
// tried again a few times.
void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found{};
    const FindHandle search(FindFirstFileW((folder + L"*").c_str(), &found));
    if (search) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                // A link to a folder elsewhere goes itself; what it leads
                // to is not ours.
                if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                    RemoveDirectoryW(path.c_str());
                else
                    RemoveTree(path + L"\\");
                continue;
            }
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            for (int attempt = 0; attempt < 20 && !DeleteFileW(path.c_str()); ++attempt) Sleep(100);
        } while (FindNextFileW(search.Get(), &found));
    }
    for (int attempt = 0; attempt < 20 && !RemoveDirectoryW(folder.c_str()); ++attempt) Sleep(100);
}

std::wstring TempFolder()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH) return {};
    std::wstring folder(buffer, length);
    if (folder.back() != L'\\') folder += L'\\';
    return folder;
}

std::wstring Hex(DWORD value)
{
    const wchar_t digits[] = L"0123456789ABCDEF";
    std::wstring text(8, L'0');
    for (int i = 7; i >= 0; --i, value >>= 4) text[static_cast<size_t>(i)] = digits[value & 0xF];
    return text;
}

}  // namespace

bool UnpackFolder::Create()
{
    const std::wstring temp = TempFolder();
    if (temp.empty()) return false;
    const std::wstring access = UnpackFolderAccess(UserAllowedIn());
    // Process id and clock only make a clash unlikely; CreateDirectoryW
    // decides, and a taken name moves on to the next. A name taken by
    // someone else is never used: its access list is not ours.
    const DWORD seed = GetCurrentProcessId() * 7919u + GetTickCount();
    for (DWORD attempt = 0; attempt < 1000; ++attempt) {
        const std::wstring candidate = temp + L"OVPKG" + Hex(seed + attempt) + L"\\";
        if (MakeFolderWithAccess(candidate, access)) {
            path_ = candidate;
            return true;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    return false;
}

UnpackFolder::~UnpackFolder()
{
    if (!path_.empty()) RemoveTree(path_);
}
