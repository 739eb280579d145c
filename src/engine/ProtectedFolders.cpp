#include "engine/ProtectedFolders.h"

#include "script/PathParts.h"
#include "script/ShiftJis.h"
#include "script/TextCase.h"
#include "services/ShellFolders.h"
#include "text/Unicode.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>

namespace {

// The shell's folders that hold the user's and every user's own data, and
// the Program Files folders of both widths. The run state has none of them.
constexpr int DataFolderIds[] = {
    CSIDL_PROFILE,        CSIDL_PERSONAL,         CSIDL_APPDATA,       CSIDL_LOCAL_APPDATA,
    CSIDL_COMMON_APPDATA, CSIDL_COMMON_DOCUMENTS, CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86,
};

// The folder as the system resolves it, with one trailing backslash: "." and
// ".." steps, forward slashes and short names give the same text as the long
// form, so that none of them slips past the comparison.
// The resolving is done in UTF-16 and only the result converted, so that a
// trail byte 0x5C is never taken for a step. A long name that Shift-JIS
// cannot hold keeps the form given. Nothing for a path too long to name a
// folder at all (the long-name lookup of some systems overruns its buffer
// on one).
std::optional<std::string> Canonical(const std::string& folder)
{
    constexpr DWORD room = MAX_PATH * 2;
    wchar_t full[room] = {};
    const DWORD fullLength = GetFullPathNameW(WideFromShiftJis(folder).c_str(), room, full, nullptr);
    if (fullLength == 0 || fullLength > LongestPath) return std::nullopt;
    std::wstring result(full, fullLength);
    wchar_t longer[room] = {};
    const DWORD longLength = GetLongPathNameW(result.c_str(), longer, room);
    if (longLength > 0 && longLength < room) result.assign(longer, longLength);
    return WithTrailingBackslash(ShiftJisFromWide(result).value_or(folder));
}

// The number of "\" characters of the text (never a trail byte).
int DelimiterCount(const std::string& text)
{
    int count = 0;
    for (int at = 1; at <= static_cast<int>(text.size()); ++at) {
        if (IsDelimiterAt(text, at)) ++count;
    }
    return count;
}

// "C:\" or "\\server\share\": nothing above it can be named.
bool IsRoot(const std::string& canonical)
{
    if (canonical.size() <= 3) return true;
    const bool share = canonical.compare(0, 2, "\\\\") == 0;
    return share && DelimiterCount(canonical) <= 4;
}

// True when `outer` is `inner` or one of the folders above it.
bool SameOrAbove(const std::string& outer, const std::string& inner)
{
    return TokenPos(outer, inner) == 1;
}

}  // namespace

ProtectedFolders ProtectedFolders::OfThisMachine(const MachineFolders& run)
{
    std::vector<std::string> folders = {
        run.tempFolder,           run.windowsFolder,         run.systemFolder,         run.programFilesFolder,
        run.startMenuFolder,      run.programsFolder,        run.desktopFolder,        run.startupFolder,
        run.sendToFolder,         run.commonStartMenuFolder, run.commonProgramsFolder, run.commonDesktopFolder,
        run.commonStartupFolder,
    };
    for (int id : DataFolderIds) folders.push_back(GetSpecialFolder(id));
    return ProtectedFolders(std::move(folders));
}

bool ProtectedFolders::Protects(const std::string& folder) const
{
    // A folder named relative to the current one, or by a device path, is
    // nothing this test can place: it is left alone.
    if (!IsAbsoluteFolder(folder)) return true;
    const std::optional<std::string> candidate = Canonical(folder);
    if (!candidate || IsRoot(*candidate)) return true;
    for (const std::string& entry : folders_) {
        // A shell folder that the system could not supply is only "\".
        if (WithoutTrailingBackslash(entry).empty() || !IsAbsoluteFolder(entry)) continue;
        const std::optional<std::string> protectedFolder = Canonical(entry);
        if (protectedFolder && SameOrAbove(*candidate, *protectedFolder)) return true;
    }
    return false;
}

bool IsSameOrInside(const std::string& folder, const std::string& outer)
{
    if (!IsAbsoluteFolder(folder) || !IsAbsoluteFolder(outer)) return false;
    const std::optional<std::string> canonicalOuter = Canonical(outer);
    const std::optional<std::string> canonicalFolder = Canonical(folder);
    return canonicalOuter && canonicalFolder && SameOrAbove(*canonicalOuter, *canonicalFolder);
}
