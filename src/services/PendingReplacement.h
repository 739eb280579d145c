// Files another program holds open: what cannot be replaced or deleted now
// is handed to the system, which replaces or deletes it when Windows next
// starts, before any program can open it again.
#pragma once

#include "services/ChangeJournal.h"
#include "services/FileOps.h"

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
// folder (the system's list renames within a volume only) and has the system
// move it over `destination` at the next restart. When either step fails,
// no temporary file is left behind. The waiting file is recorded in
// `journal` as created: undoing the install removes it.
ReplacementAtRestart ReplaceAtRestart(const std::string& source, const std::string& destination,
                                      ChangeJournal& journal);

// What a copy onto `destination` came to: done, done at the next restart
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
                                   ChangeJournal& journal);
// The same for a caller that has just looked whether a file stands at
// `destination` (`existed`, as CopyFileTo takes it). Without
// `mayWaitForRestart` (a user install: the system's list of replacements
// is the machine's, under HKEY_LOCAL_MACHINE) a held destination is the
// copy's failure. `flags`: as CopyFileTo takes them.
CopyOutcome CopyOrReplaceAtRestart(const std::string& source, const std::string& destination, bool existed,
                                   ChangeJournal& journal, bool mayWaitForRestart = true,
                                   SourceFlags flags = SourceFlags::Unknown);

// The log's line for a destination that is replaced at the restart, asked
// while the file is still held so that the holder can be named.
std::string ReplacedAtRestartLine(const std::string& destination, const std::string& waiting);

// Has the system delete `path` at the next restart: 0 or the system's code.
// A folder named so goes then if it is empty by that time.
unsigned long DeleteAtRestart(const std::string& path);

// After a deletion of `path` (one file, or a pattern) that failed because
// another program holds a file: each file still there is deleted now if it
// can be, else put on the system's list. The files on the list, or nothing
// when one could be neither deleted nor put on the list.
std::optional<std::vector<std::string>> DeleteHeldFilesAtRestart(const std::string& path);

// The programs that hold `path` open, as the Restart Manager names them
// ("NAME.EXE (pid 123), ..."), or "unknown" when the system cannot tell:
// Wine's Restart Manager, for one, answers every question with no program.
std::string ProgramsHolding(const std::string& path);
