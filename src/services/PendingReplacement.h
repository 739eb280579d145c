// Files another program holds open: what cannot be replaced or deleted now
// is handed to the system, which replaces or deletes it when Windows next
// starts, before any program can open it again.
#pragma once

#include <string>

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
// no temporary file is left behind.
ReplacementAtRestart ReplaceAtRestart(const std::string& source, const std::string& destination);

// Has the system delete `path` at the next restart: 0 or the system's code.
unsigned long DeleteAtRestart(const std::string& path);

// The programs that hold `path` open, as the Restart Manager names them
// ("NAME.EXE (pid 123), ..."), or "unknown" when the system cannot tell:
// Wine's Restart Manager, for one, answers every question with no program.
std::string ProgramsHolding(const std::string& path);
