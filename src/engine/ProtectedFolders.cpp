#include "engine/ProtectedFolders.h"

#include "script/PathParts.h"
#include "script/ShiftJis.h"
#include "script/TextCase.h"
#include "services/ShellFolders.h"
#include "services/Win32Files.h"
#include "text/Unicode.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <memory>
#include <optional>

namespace {

// The shell's folders kept themselves that the run state does not hold:
// the profile and its application data, every user's application data, both
// Program Files folders and their common files, and the real Start menu
// folders (the run state's may be others).
constexpr int OwnFolderIds[] = {
    CSIDL_PROFILE,       CSIDL_APPDATA,         CSIDL_LOCAL_APPDATA,    CSIDL_COMMON_APPDATA,
    CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMON, CSIDL_STARTMENU,
    CSIDL_PROGRAMS,      CSIDL_STARTUP,         CSIDL_SENDTO,           CSIDL_COMMON_STARTMENU,
    CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_STARTUP,
};

// The shell's folders kept whole: the system's own and those that hold the
// user's and every user's documents.
constexpr int WholeFolderIds[] = {
    CSIDL_WINDOWS,          CSIDL_SYSTEM,       CSIDL_SYSTEMX86,       CSIDL_DESKTOPDIRECTORY,
    CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_PERSONAL, CSIDL_MYPICTURES,   CSIDL_MYMUSIC,
    CSIDL_MYVIDEO,          CSIDL_FAVORITES,    CSIDL_COMMON_DOCUMENTS, CSIDL_COMMON_PICTURES,
    CSIDL_COMMON_MUSIC,     CSIDL_COMMON_VIDEO,
};

// The folder behind a known-folder id (the folders that have no CSIDL);
// empty when the shell cannot supply it.
std::string KnownFolder(REFKNOWNFOLDERID id)
{
    wchar_t* path = nullptr;
    const HRESULT result = SHGetKnownFolderPath(id, 0, nullptr, &path);
    std::string folder = SUCCEEDED(result) && path != nullptr ? ShellFolderText(path) : std::string();
    CoTaskMemFree(path);
    return folder;
}

bool IsStepEnd(wchar_t c)
{
    return c == L'.' || c == L' ';
}

// The length of the part that names the drive or share: "C:\" or
// "\\server\share\" (the full path always has one).
size_t RootLength(const std::wstring& path)
{
    if (path.rfind(L"\\\\", 0) != 0) return std::min<size_t>(3, path.size());
    int separators = 0;
    for (size_t at = 2; at < path.size(); ++at)
        if (path[at] == L'\\' && ++separators == 2) return at + 1;
    return path.size();
}

// Each step without the dots and blanks it ends in: the system drops them
// when it makes or opens a folder, so "C:\Windows.\" and "C:\Windows \" are
// the Windows folder. A step of dots alone goes.
std::wstring WithoutStepEnds(const std::wstring& path)
{
    const size_t root = RootLength(path);
    std::wstring result = path.substr(0, root);
    std::wstring step;
    for (size_t at = root; at <= path.size(); ++at) {
        if (at < path.size() && path[at] != L'\\') {
            step += path[at];
            continue;
        }
        while (!step.empty() && IsStepEnd(step.back())) step.pop_back();
        if (!step.empty()) result += step + L"\\";
        step.clear();
    }
    return result;
}

// The long form of as much of the path as exists; the rest as it is. A
// short name such as "PROGRA~1" is resolved even when the folder named
// below it is not there yet.
std::wstring LongForm(const std::wstring& path)
{
    const size_t root = RootLength(path);
    for (size_t end = path.size(); end > root; end = path.rfind(L'\\', end - 2) + 1) {
        const std::wstring existing = path.substr(0, end);
        wchar_t longer[MAX_PATH * 2] = {};
        const DWORD length = GetLongPathNameW(existing.c_str(), longer, MAX_PATH * 2);
        if (length > 0 && length < MAX_PATH * 2) {
            std::wstring result(longer, length);
            if (!result.empty() && result.back() != L'\\') result += L'\\';
            return result + path.substr(end);
        }
    }
    return path;
}

// The folder as the system resolves it, with one trailing backslash: "." and
// ".." steps, forward slashes, short names and steps ending in dots or
// blanks give the same text as the long form, so that none of them slips
// past the comparison.
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
    if (result.back() != L'\\') result += L'\\';
    result = LongForm(WithoutStepEnds(result));
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

// The folders of a list as the comparisons need them: resolved once, those
// the system could not supply (only "\") left out.
std::vector<std::string> Resolved(const std::vector<std::string>& folders)
{
    std::vector<std::string> resolved;
    for (const std::string& entry : folders) {
        if (WithoutTrailingBackslash(entry).empty() || !IsAbsoluteFolder(entry)) continue;
        if (const std::optional<std::string> canonical = Canonical(entry)) resolved.push_back(*canonical);
    }
    return resolved;
}

// A candidate folder resolved, or nothing when no test can place it: a
// folder named relative to the current one, by a device path, too long, or
// a root.
std::optional<std::string> Placed(const std::string& folder)
{
    if (!IsAbsoluteFolder(folder)) return std::nullopt;
    const std::optional<std::string> candidate = Canonical(folder);
    if (!candidate || IsRoot(*candidate)) return std::nullopt;
    return candidate;
}

}  // namespace

ProtectedFolders::ProtectedFolders(const std::vector<std::string>& folders, const std::vector<std::string>& wholeFolders)
    : folders_(Resolved(folders)), wholeFolders_(Resolved(wholeFolders))
{
}

ProtectedFolders ProtectedFolders::OfThisMachine(const MachineFolders& run)
{
    std::vector<std::string> folders = {
        run.tempFolder,       run.programFilesFolder,    run.startMenuFolder,      run.programsFolder,
        run.startupFolder,    run.sendToFolder,          run.commonStartMenuFolder, run.commonProgramsFolder,
        run.commonStartupFolder,
    };
    for (int id : OwnFolderIds) folders.push_back(GetSpecialFolderPath(id));
    folders.push_back(KnownFolder(FOLDERID_LocalAppDataLow));

    std::vector<std::string> whole = {run.windowsFolder, run.systemFolder, run.desktopFolder, run.commonDesktopFolder};
    for (int id : WholeFolderIds) whole.push_back(GetSpecialFolderPath(id));
    for (const KNOWNFOLDERID* id : {&FOLDERID_Downloads, &FOLDERID_Links, &FOLDERID_SavedGames, &FOLDERID_SavedSearches})
        whole.push_back(KnownFolder(*id));
    return ProtectedFolders(folders, whole);
}

const ProtectedFolders& ProtectedFolders::OfRun(const RunState& run)
{
    const MachineFolders& folders = run;
    if (!run.protectedFolders || !(run.protectedFoldersFrom == folders)) {
        run.protectedFolders = std::make_shared<const ProtectedFolders>(OfThisMachine(folders));
        run.protectedFoldersFrom = folders;
    }
    return *run.protectedFolders;
}

bool ProtectedFolders::Protects(const std::string& folder) const
{
    const std::optional<std::string> candidate = Placed(folder);
    if (!candidate) return true;
    for (const std::vector<std::string>* list : {&folders_, &wholeFolders_})
        for (const std::string& entry : *list)
            if (SameOrAbove(*candidate, entry)) return true;
    return false;
}

bool ProtectedFolders::RefusesAsSetupFolder(const std::string& folder) const
{
    if (Protects(folder)) return true;
    const std::optional<std::string> candidate = Placed(folder);
    for (const std::string& entry : wholeFolders_)
        if (SameOrAbove(entry, *candidate)) return true;
    return false;
}

bool IsSameOrInside(const std::string& folder, const std::string& outer)
{
    if (!IsAbsoluteFolder(folder) || !IsAbsoluteFolder(outer)) return false;
    const std::optional<std::string> canonicalOuter = Canonical(outer);
    const std::optional<std::string> canonicalFolder = Canonical(folder);
    return canonicalOuter && canonicalFolder && SameOrAbove(*canonicalOuter, *canonicalFolder);
}

bool ReachedThroughLink(const std::string& path, const std::string& top)
{
    if (!IsAbsoluteFolder(path) || !IsAbsoluteFolder(top)) return true;
    const std::optional<std::string> canonicalTop = Canonical(top);
    std::optional<std::string> level = Canonical(path);
    if (!canonicalTop || !level || !SameOrAbove(*canonicalTop, *level)) return true;
    // From the path up to the top, one level at a time.
    while (level->size() > canonicalTop->size()) {
        if (IsLink(*level)) return true;
        *level = ParentFolder(*level);
    }
    return IsLink(*canonicalTop);
}
