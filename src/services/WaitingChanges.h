// Where a change waits that a file in use keeps from being made now: a file
// moved over another, or a file or empty folder deleted.
//
// An install for all users hands it to the system's list, which Windows
// carries out when it next starts, before any program can hold the file
// again; only administrators may write that list. An install for the
// current user keeps a list of its own in the user's folder (ORVWAIT.LST)
// and a value in the user's RunOnce key that starts the uninstaller copy
// there with /FINISHPENDING at the user's next sign-in, which carries the
// list out (FinishWaitingChanges).
//
// The user's list is Shift-JIS text, one change a line ended by CR LF, in
// the order the changes were asked for: "<from><TAB><to>" moves a file over
// another, "<path><TAB>" deletes a file or an empty folder (as the system's
// list pairs a name with nothing). No file name holds a tab or a line end.
#pragma once

#include <string>
#include <vector>

inline constexpr char WaitingListName[] = "ORVWAIT.LST";
// The user's RunOnce key and the value in it that finishes the list.
inline constexpr char RunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline constexpr char RunOnceValueName[] = "OrvaneSetupPending";

class WaitingChanges {
public:
    // The system's list: carried out at the next restart of Windows.
    static WaitingChanges AtRestart() { return WaitingChanges(std::string()); }
    // The user's list in `ownFolder` (with its trailing backslash), carried
    // out at the next sign-in by the uninstaller copy in that folder.
    static WaitingChanges AtSignIn(const std::string& ownFolder) { return WaitingChanges(ownFolder); }

    // Has `from` moved over `to` when the wait is over: 0 or the system's code.
    unsigned long Move(const std::string& from, const std::string& to) const;
    // Has the file or empty folder `path` deleted when the wait is over.
    unsigned long Delete(const std::string& path) const;

    bool UntilSignIn() const { return !ownFolder_.empty(); }
    // For the log: "restart" or "sign-in".
    const char* Until() const { return UntilSignIn() ? "sign-in" : "restart"; }

private:
    explicit WaitingChanges(std::string ownFolder) : ownFolder_(std::move(ownFolder)) {}
    unsigned long Append(const std::string& line) const;

    std::string ownFolder_;  // empty for the system's list
};

// One change of the user's list.
struct WaitingChange {
    std::string from;  // the file that goes, or that moves over `to`
    std::string to;    // empty: `from` is deleted
    bool operator==(const WaitingChange&) const = default;
};

// The list's lines as changes, and changes as its text.
std::vector<WaitingChange> ParseWaitingList(const std::string& text);
std::string WaitingListText(const std::vector<WaitingChange>& changes);

// Sets the user's RunOnce value that finishes the list in `ownFolder`:
// 0 or the system's code.
unsigned long RegisterFinishAtSignIn(const std::string& ownFolder);

// What a finishing run did, for its log and exit code.
struct FinishedChanges {
    std::vector<std::string> lines;  // one per change: done, or why not
    size_t waiting = 0;              // the changes still held back, kept for the next sign-in
};

// Carries out the user's list in `ownFolder` in its order. A change whose
// file is still held (or a folder not yet empty) stays on the list; a move whose waiting file is gone (its install was undone) and a
// deletion of what is gone already are done. `runningImage` is this
// program's own file: when the list replaces it, it is renamed aside first
// (a running program may be renamed, not overwritten) and the aside file
// deleted at the next sign-in. With nothing left, the list file and the
// RunOnce value go; else the value is set again.
FinishedChanges FinishWaitingChanges(const std::string& ownFolder, const std::string& runningImage);
