#include "services/Deletion.h"

#include "services/FileOps.h"
#include "services/SharedComponents.h"
#include "services/Win32Files.h"
#include "text/MessageBox.h"
#include "text/PathParts.h"
#include "text/StrOp.h"
#include "text/ValueFields.h"

#include <windows.h>
#include <shellapi.h>

namespace {

constexpr FILEOP_FLAGS SilentDeletion = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;

bool HasWildcards(const std::string& path)
{
    return Contains(path, "*") || Contains(path, "?");
}

// Wine's shell refuses a read-only file that is named directly or matched by
// a pattern (5), while Windows deletes it without asking when confirmation is
// off. Clearing the flag on the matching files first gives the same outcome
// on both.
void ClearReadOnlyMatches(const std::string& path)
{
    const std::string folder = FolderPart(path);
    WIN32_FIND_DATAA data{};
    FindHandle find(FindFirstFileA(path.c_str(), &data));
    if (!find) return;
    do {
        constexpr DWORD readOnlyFile = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY;
        if ((data.dwFileAttributes & readOnlyFile) == FILE_ATTRIBUTE_READONLY)
            SetFileAttributesA((folder + data.cFileName).c_str(), data.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
    } while (FindNextFileA(find.Get(), &data));
}

}  // namespace

unsigned long DeleteFiles(const std::string& path)
{
    if (!FileExists(path) && !HasWildcards(path)) return ERROR_FILE_NOT_FOUND;
    if (IsRegistrable(path)) SelfRegister(path, false);
    ClearReadOnlyMatches(path);

    // A list of one item: the path and two terminating zero bytes.
    std::string source = path;
    source.append(2, '\0');
    SHFILEOPSTRUCTA operation{};
    operation.hwnd = ApplicationWindow();
    operation.wFunc = FO_DELETE;
    operation.pFrom = source.c_str();
    operation.fFlags = SilentDeletion;
    SetLastError(ERROR_SUCCESS);
    const int result = SHFileOperationA(&operation);
    const DWORD error = GetLastError();
    if (result == 0) return 0;
    // The shell often fails without setting the last error (Wine always
    // does); its own result then says what went wrong, so that a failure is
    // never reported as success.
    return error != ERROR_SUCCESS ? error : static_cast<unsigned long>(result);
}

unsigned long RemoveFolder(const std::string& folder, const std::string& names)
{
    // An empty folder would turn every name into a path below the root of the
    // current drive ("\*.*"): delete nothing.
    if (folder.empty()) return ERROR_PATH_NOT_FOUND;
    const std::string base = AddDelimiter(folder, "B");
    std::string remaining = names;
    while (!remaining.empty()) {
        const SplitText parts = SplitAtFirst(remaining, "|");
        DeleteFiles(base + parts.Before);
        remaining = parts.After;
    }
    if (RemoveDirectoryA(base.c_str())) return 0;
    return GetLastError();
}
