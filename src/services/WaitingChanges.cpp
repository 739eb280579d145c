#include "services/WaitingChanges.h"

#include "script/PathParts.h"
#include "script/RunSwitches.h"
#include "script/TextCase.h"
#include "services/FileOps.h"
#include "services/PendingReplacement.h"
#include "services/SystemErrorText.h"
#include "services/Win32Files.h"
#include "services/Win32Registry.h"
#include "text/IniFile.h"
#include "text/Unicode.h"

#include <windows.h>

namespace {

std::string ListPath(const std::string& ownFolder)
{
    return ownFolder + WaitingListName;
}

std::string FinishCommand(const std::string& ownFolder)
{
    return "\"" + ownFolder + "UNOVSET.EXE\" " + FinishPendingSwitch;
}

// Puts `text` in the place of the list through a file beside it, so that a
// sign-in cut short while the list is rewritten still finds the old list
// whole: the files waiting under temporary names are never forgotten.
unsigned long ReplaceList(const std::string& ownFolder, const std::string& text)
{
    std::string temporary;
    if (!MakeTemporaryFile(ownFolder, temporary)) return GetLastError();
    unsigned long error = 0;
    {
        const FileHandle file = OpenFileHandle(temporary, GENERIC_WRITE, 0, CREATE_ALWAYS);
        DWORD written = 0;
        if (!file || !WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
            !FlushFileBuffers(file.Get()))
            error = GetLastError();
        else if (written != text.size())
            error = ERROR_WRITE_FAULT;
    }
    if (error == 0 && !MoveOneFile(temporary, ListPath(ownFolder), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error != 0) DeleteOneFile(temporary);
    return error;
}

void DeleteRunOnceValue()
{
    const RegKey key = OpenRegKey(HKEY_CURRENT_USER, RunOnceKey, KEY_SET_VALUE);
    if (key) DeleteRegValue(key.Get(), RunOnceValueName);
}

// A change that may succeed at a later sign-in: the file is still held, or
// the folder still holds such a file.
bool MayWaitAgain(unsigned long error)
{
    return IsInUseError(error) || error == ERROR_DIR_NOT_EMPTY;
}

bool IsGone(unsigned long error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

unsigned long DeleteNow(const std::string& path)
{
    const DWORD attributes = AttributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError();
    const bool done = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? RemoveEmptyFolder(path) : DeleteOneFile(path);
    return done ? 0 : GetLastError();
}

}  // namespace

unsigned long WaitingChanges::Move(const std::string& from, const std::string& to) const
{
    if (!UntilSignIn()) return MoveOneFile(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT) ? 0 : GetLastError();
    return Append(WaitingListText({{from, to}}));
}

unsigned long WaitingChanges::Delete(const std::string& path) const
{
    const std::string name = WithoutTrailingBackslash(path);
    if (!UntilSignIn()) {
        const std::wstring wide = WideFromShiftJis(name);
        return MoveFileExW(wide.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) ? 0 : GetLastError();
    }
    return Append(WaitingListText({{name, ""}}));
}

// The user's folder is made by the first install that needs it, which may
// meet a file in use before its uninstaller copy is there.
unsigned long WaitingChanges::Append(const std::string& line) const
{
    if (!FolderExists(ownFolder_) && !MakeOneFolder(ownFolder_)) return GetLastError();
    {
        const FileHandle file = OpenFileHandle(ListPath(ownFolder_), FILE_APPEND_DATA, FILE_SHARE_READ, OPEN_ALWAYS);
        if (!file) return GetLastError();
        DWORD written = 0;
        if (!WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr)) return GetLastError();
        if (written != line.size()) return ERROR_WRITE_FAULT;
    }
    return RegisterFinishAtSignIn(ownFolder_);
}

std::vector<WaitingChange> ParseWaitingList(const std::string& text)
{
    std::vector<WaitingChange> changes;
    size_t start = 0;
    while (start < text.size()) {
        // A line without its line end was cut short while it was appended:
        // its destination may be cut too, so it is no change at all.
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos) break;
        const std::string line = text.substr(start, end - start);
        start = end + 2;
        const size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0) continue;
        changes.push_back({line.substr(0, tab), line.substr(tab + 1)});
    }
    return changes;
}

std::string WaitingListText(const std::vector<WaitingChange>& changes)
{
    std::string text;
    for (const WaitingChange& change : changes) text += change.from + "\t" + change.to + "\r\n";
    return text;
}

unsigned long RegisterFinishAtSignIn(const std::string& ownFolder)
{
    LONG status = ERROR_SUCCESS;
    const RegKey key = CreateRegKey(HKEY_CURRENT_USER, RunOnceKey, &status);
    if (!key) return static_cast<unsigned long>(status);
    return static_cast<unsigned long>(WriteRegString(key.Get(), RunOnceValueName, REG_SZ, FinishCommand(ownFolder)));
}

FinishedChanges FinishWaitingChanges(const std::string& ownFolder, const std::string& runningImage)
{
    FinishedChanges finished;
    std::vector<WaitingChange> left;
    for (const WaitingChange& change : ParseWaitingList(ReadProfileBytes(ListPath(ownFolder)))) {
        unsigned long error = 0;
        std::string done;
        if (change.to.empty()) {
            error = DeleteNow(change.from);
            if (IsGone(error)) error = 0;
            done = "Deleted: " + change.from;
        } else if (!FileExists(change.from)) {
            done = "Nothing to replace (the install was undone): " + change.to;
        } else {
            // This program is the file to replace: it moves aside (a running
            // program may be renamed, not overwritten), and the aside file
            // goes at the next sign-in; back again when the move fails.
            std::string aside;
            if (SameText(change.to, runningImage) &&
                !(MakeTemporaryFile(FolderPart(runningImage), aside) &&
                  MoveOneFile(runningImage, aside, MOVEFILE_REPLACE_EXISTING))) {
                if (!aside.empty()) DeleteOneFile(aside);
                aside.clear();
            }
            error = MoveOneFile(change.from, change.to, MOVEFILE_REPLACE_EXISTING) ? 0 : GetLastError();
            if (!aside.empty() && error == 0) left.push_back({aside, ""});
            if (!aside.empty() && error != 0) MoveOneFile(aside, runningImage, MOVEFILE_REPLACE_EXISTING);
            done = "Replaced: " + change.to;
        }
        if (error == 0) {
            finished.lines.push_back(done);
        } else if (MayWaitAgain(error)) {
            left.push_back(change);
            finished.lines.push_back(WithSystemError("Still waiting: " + change.from, error));
        } else {
            finished.lines.push_back(WithSystemError("Not done: " + change.from, error));
        }
    }
    finished.waiting = left.size();
    if (left.empty()) {
        DeleteOneFile(ListPath(ownFolder));
        DeleteRunOnceValue();
        return finished;
    }
    if (const unsigned long error = ReplaceList(ownFolder, WaitingListText(left)); error != 0)
        finished.lines.push_back(WithSystemError("Error: the list of waiting changes not written", error));
    if (const unsigned long error = RegisterFinishAtSignIn(ownFolder); error != 0)
        finished.lines.push_back(WithSystemError("Error: the sign-in value not set", error));
    return finished;
}
