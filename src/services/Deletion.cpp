#include "services/Deletion.h"

#include "script/PathParts.h"
#include "script/ValueFields.h"
#include "services/FileOps.h"
#include "services/Win32Files.h"
#include "text/Unicode.h"

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <vector>

namespace {

constexpr FILEOP_FLAGS SilentDeletion = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;

// Wine's shell refuses a read-only file that is named directly or matched by
// a pattern (5), while Windows deletes it without asking when confirmation is
// off. Clearing the flag first gives the same outcome on both.
void ClearReadOnly(const std::string& path, DWORD attributes)
{
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
        SetAttributesOf(path, attributes & ~FILE_ATTRIBUTE_READONLY);
}

// Hands a list of paths to the shell's silent deletion: 0, or why not.
unsigned long ShellDelete(const std::vector<std::string>& paths)
{
    // Each path ends in a zero byte, the list in one more.
    std::wstring source;
    for (const std::string& path : paths) source.append(WideFromShiftJis(path)).push_back(L'\0');
    source.push_back(L'\0');
    SHFILEOPSTRUCTW operation{};
    // Silent, without error boxes: no owner window is needed.
    operation.hwnd = nullptr;
    operation.wFunc = FO_DELETE;
    operation.pFrom = source.c_str();
    operation.fFlags = SilentDeletion;
    SetLastError(ERROR_SUCCESS);
    const int result = SHFileOperationW(&operation);
    const DWORD error = GetLastError();
    if (result == 0) return 0;
    // The shell often fails without setting the last error (Wine always
    // does); its own result then says what went wrong, so that a failure is
    // never reported as success.
    return error != ERROR_SUCCESS ? error : static_cast<unsigned long>(result);
}

// The files a pattern matches, with their read-only flags cleared for the
// deletion that follows.
std::vector<std::string> WritableFilesMatching(const std::string& pattern)
{
    std::vector<std::string> files = FilesMatching(pattern);
    for (const std::string& file : files) ClearReadOnly(file, AttributesOf(file));
    return files;
}

// Deletes everything inside `folder` (with its trailing backslash), the
// deepest first, walking the folder itself rather than handing a pattern to
// the shell, whose recursive deletion follows links. A link inside (a
// junction, a symbolic link, a mount point) stays, and so does what it
// leads to: it is no part of this folder. What cannot be deleted (a file in
// use, a name Shift-JIS cannot hold) stays too, with the folders that hold it.
void EmptyFolderTree(const std::string& folder)
{
    WIN32_FIND_DATAW data{};
    const FindHandle find = FindFirstEntry(folder + "*", data);
    if (!find) return;
    do {
        const std::optional<std::string> name = EntryName(data);
        if (!name || *name == "." || *name == "..") continue;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) continue;
        const std::string path = folder + *name;
        ClearReadOnly(path, data.dwFileAttributes);
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            EmptyFolderTree(path + "\\");
            RemoveEmptyFolder(path + "\\");
        } else {
            DeleteOneFile(path);
        }
    } while (FindNextEntry(find, data));
}

}  // namespace

// Never a folder: a pattern such as C:\APP\*.* names the application's
// files, and a folder that happens to match (a user's own data, or the whole
// Windows folder for a damaged record) must not go with them. Nor a file
// whose name Shift-JIS cannot hold: written with "?" in its place, the name
// would be a pattern that matches other files. It stays, and so does its
// folder. Nothing at all in a folder that is a link: its files are those of
// the folder it leads to.
std::vector<std::string> FilesMatching(const std::string& pattern)
{
    const std::string folder = FolderPart(pattern);
    std::vector<std::string> files;
    if (IsLink(folder)) return files;
    WIN32_FIND_DATAW data{};
    const FindHandle find = FindFirstEntry(pattern, data);
    if (!find) return files;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        if (const std::optional<std::string> name = EntryName(data)) files.push_back(folder + *name);
    } while (FindNextEntry(find, data));
    return files;
}

unsigned long DeleteFiles(const std::string& path)
{
    if (!FileExists(path) && !HasWildcards(path)) return ERROR_FILE_NOT_FOUND;
    if (!HasWildcards(path)) {
        ClearReadOnly(path, AttributesOf(path));
        return ShellDelete({path});
    }
    if (IsLink(FolderPart(path))) return ERROR_CANT_ACCESS_FILE;
    // A pattern that matches no file has nothing to delete: done.
    const std::vector<std::string> files = WritableFilesMatching(path);
    return files.empty() ? 0 : ShellDelete(files);
}

unsigned long RemoveFolder(const std::string& folder, const std::string& names)
{
    // An empty folder would turn every name into a path below the root of the
    // current drive ("\*.*"): delete nothing.
    if (folder.empty()) return ERROR_PATH_NOT_FOUND;
    const std::string base = WithTrailingBackslash(folder);
    std::string remaining = names;
    while (!remaining.empty()) {
        const SplitText parts = SplitAtFirst(remaining, "|");
        DeleteFiles(base + parts.before);
        remaining = parts.after;
    }
    if (RemoveEmptyFolder(base)) return 0;
    return GetLastError();
}

unsigned long RemoveFolderTree(const std::string& folder)
{
    if (folder.empty()) return ERROR_PATH_NOT_FOUND;
    const std::string base = WithTrailingBackslash(folder);
    if (!IsLink(base)) EmptyFolderTree(base);
    if (RemoveEmptyFolder(base)) return 0;
    return GetLastError();
}
