// The failure report that an install or uninstall collects and offers at its
// end: one entry for each thing that failed, which says what it was (the kind
// of thing and its path) and why (the system's error code, or one of the
// reasons below with its parameter). The report crosses to the person as
// these entries; the text the details screen and the log show is made from
// them here, in one place.
#pragma once

#include <string>
#include <variant>
#include <vector>

// The kind of thing that failed: the block's tag ("<File> ", ...).
enum class FailureTag { File, Folder, ShortCut, Registry, SetupFile, SetupFolder, Log };

enum class FailureReason {
    // An entry of the script the install skipped, for its path.
    SkippedUnrepresentable,  // made from a folder whose name Shift-JIS cannot hold
    SkippedNotAbsolute,
    SkippedTokenLeft,
    SkippedBadCharacter,
    SkippedTooLong,
    SourceMissing,            // the copy's source file is not there
    CompressedSourceBroken,   // the source could not be expanded
    KeyNotCreated,            // parameter: the key's path
    ValueNotWritten,          // parameter: the value's name
    RecordNotWrittenUndone,   // no record, so the install was undone
    RecordNotWrittenKept,     // no record, the install stays; parameter: the setup folder
    // An entry of the record the uninstall left alone.
    NotAbsolute,
    PatternOutsideSetupFolder,
    FolderOfSystemOrUser,
    NotAShortcut,
    PatternBehindLink,
    FolderIsLink,
    // The setup folder that stayed (its block ends one line shorter).
    SetupFolderFilesRemain,
    SetupFolderDeleteAllFailed,
};

struct SystemError {
    unsigned long code = 0;
};

struct StatedReason {
    FailureReason reason;
    std::string parameter;  // empty where the reason takes none
};

struct FailureEntry {
    FailureTag tag;
    std::string path;
    std::variant<SystemError, StatedReason> why;
};

class FailureReport {
public:
    void Add(FailureEntry entry);
    void AddSystemError(FailureTag tag, std::string path, unsigned long code);
    void AddReason(FailureTag tag, std::string path, FailureReason reason, std::string parameter = {});

    const std::vector<FailureEntry>& Entries() const { return entries_; }
    int Count() const { return static_cast<int>(entries_.size()); }
    bool Empty() const { return entries_.empty(); }

    // The report as the details screen shows it: the entries' blocks, one
    // after the other.
    std::string Text() const;

private:
    std::vector<FailureEntry> entries_;
};

std::string TagText(FailureTag tag);
std::string ReasonText(const StatedReason& reason);

// An entry's block: tag and path, CR LF, why, CR LF, and an empty line
// (the system's text ends in its own CR LF; the setup folder's reasons end
// without the empty line). A path longer than the system's limit is shown by
// its first 80 bytes and "．．．".
std::string EntryText(const FailureEntry& entry);

// An entry with a stated reason as one line of the log: tag, the whole
// path, ": " and the reason.
std::string EntryLine(const FailureEntry& entry);
