// Files another program holds open: what cannot be replaced or deleted now
// waits (WaitingChanges): for the next start of Windows in an install for
// all users, for the user's next sign-in in one for the current user.
#pragma once

#include "services/ChangeJournal.h"
#include "services/FileOps.h"
#include "services/WaitingChanges.h"

#include <optional>
#include <string>
#include <vector>

// True for the codes a file another program holds gives to a write, a move
// onto it or a deletion: shared without write access (32), an image or a
// mapping in use (5, 1224).
bool IsInUseError(unsigned long error);

// What became of a copy onto a file in use: the new file written beside the
// destination under a temporary name, or why not.
struct ReplacementAtRestart {
    unsigned long error = 0;  // 0 when the replacement is scheduled
    std::string temporary;    // the new file, beside the destination
};

// Copies `source` beside `destination` under a temporary name in the same
// folder (the system's list renames within a volume only) and has it moved
// over `destination` when the wait is over. When either step fails,
// no temporary file is left behind. The waiting file is recorded in
// `journal` as created: undoing the install removes it.
ReplacementAtRestart ReplaceAtRestart(const std::string& source, const std::string& destination,
                                      ChangeJournal& journal, const WaitingChanges& waiting);

// What a copy onto `destination` came to: done, done when the wait is over
// (another program held the destination), or the system's error code.
struct CopyOutcome {
    unsigned long error = 0;
    std::string atRestart;            // the new file, waiting beside the destination
    unsigned long scheduleError = 0;  // why it could not wait, when it could not
};

// Copies `source` onto `destination`. When another program holds the
// destination, the new file waits beside it (ReplaceAtRestart); when even
// that fails, the copy's own failure is the error.
CopyOutcome CopyOrReplaceAtRestart(const std::string& source, const std::string& destination,
                                   ChangeJournal& journal, const WaitingChanges& waiting);
// The same for a caller that has just looked whether a file stands at
// `destination` (`existed`, as CopyFileTo takes it). `flags`: as CopyFileTo
// takes them.
CopyOutcome CopyOrReplaceAtRestart(const std::string& source, const std::string& destination, bool existed,
                                   ChangeJournal& journal, const WaitingChanges& waiting,
                                   SourceFlags flags = SourceFlags::Unknown);

// The log's line for a destination that is replaced when the wait is over,
// asked while the file is still held so that the holder can be named.
std::string ReplacedAtRestartLine(const std::string& destination, const std::string& temporary,
                                  const WaitingChanges& waiting);

// After a deletion of `path` (one file, or a pattern) that failed because
// another program holds a file: each file still there is deleted now if it
// can be, else left waiting. The files left waiting, or nothing when one
// could be neither deleted nor left waiting.
std::optional<std::vector<std::string>> DeleteHeldFilesAtRestart(const std::string& path, const WaitingChanges& waiting);

// The programs that hold `path` open, as the Restart Manager names them
// ("NAME.EXE (pid 123), ..."), or "unknown" when the system cannot tell:
// Wine's Restart Manager, for one, answers every question with no program.
std::string ProgramsHolding(const std::string& path);
