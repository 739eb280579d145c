// The install's journal: before each change to the machine, what is needed
// to undo it is appended to a file and flushed to disk, so that an install
// that fails, is stopped or is killed can be undone, now or by the next run.
//
// The file is Shift-JIS text, one change per line, fields separated by tabs
// (a tab, CR, LF or "%" inside a field is written as %09, %0D, %0A, %25):
//
//     OrvaneJournal 1
//     run <process id> <process start time>
//     folder <path>                      a folder that was created
//     file <path>                        a file that was created
//     aside <path> <aside>               an earlier file, moved aside to <aside>
//     copy <path> <copy>                 an earlier file, copied to <copy>
//     key <root> <path>                  a registry key that was created
//     value <root> <path> <name> -       a value that did not exist
//     value <root> <path> <name> <type> <hex bytes>   a value as it was
//     ini <file> <section> <key> -       an INI entry that did not exist
//     ini <file> <section> <key> =<value>  an INI entry as it was
//     registered <path> <0|1>            a component registered; 1 when an
//                                        earlier file of the name was there
//
// Roots are HKCR, HKCU, HKLM and HKU. A line cut short by a crash is ignored.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct JournalEntry {
    std::string kind;
    std::vector<std::string> fields;
};

// The run that wrote a journal: a journal whose run is still alive is
// never undone by another run.
struct JournalRun {
    unsigned long processId = 0;
    uint64_t startTime = 0;
};

struct JournalContents {
    JournalRun run;
    std::vector<JournalEntry> entries;
};

class Journal {
public:
    // Starts a journal at `path` for this process, replacing any file there.
    // Nothing when the file cannot be made: the install then runs without
    // one, as it did before journals existed.
    static std::optional<Journal> Start(const std::string& path);
    Journal(Journal&&) noexcept;
    Journal& operator=(Journal&&) noexcept;
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;
    ~Journal();

    const std::string& Path() const { return path_; }
    bool Empty() const { return changes_ == 0; }

    void FolderCreated(const std::string& path);
    void FileCreated(const std::string& path);
    void MovedAside(const std::string& path, const std::string& aside);
    void CopiedAside(const std::string& path, const std::string& copy);
    void KeyCreated(HKEY root, const std::string& path);
    // Reads the value as it stands now and records it.
    void ValueBefore(HKEY root, const std::string& path, const std::string& name);
    // Reads the entry as it stands now and records it.
    void IniEntryBefore(const std::string& file, const std::string& section, const std::string& key);
    void ComponentRegistered(const std::string& path, bool replacedEarlier);

    // Closes the file and removes it, with every earlier file kept aside:
    // the install stands, or the person chose to keep what it did.
    void Discard();
    // Closes the file, leaving it for the undo.
    void Close();

private:
    Journal(std::string path, HANDLE file);
    void Append(const std::string& kind, const std::vector<std::string>& fields);

    std::string path_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    int changes_ = 0;
    std::vector<std::string> asides_;
};

// The journal of the install running in this process, if any: the services
// that change the machine record their changes in it. One install runs per
// process, and only on the UI thread.
Journal* ActiveJournal();

// Makes `journal` the active one for its lifetime.
class ActiveJournalScope {
public:
    explicit ActiveJournalScope(Journal* journal);
    ~ActiveJournalScope();
    ActiveJournalScope(const ActiveJournalScope&) = delete;
    ActiveJournalScope& operator=(const ActiveJournalScope&) = delete;

private:
    Journal* previous_;
};

// Records, in the active journal if any, a file that is about to be written
// in place (a shortcut, the uninstall record): a new one as created, an
// earlier one by a copy of it beside it.
void JournalFileBeforeWriting(const std::string& path);

// Records, in the active journal if any, an INI entry about to be written;
// a file that does not exist yet is recorded as created first.
void JournalIniEntry(const std::string& file, const std::string& section, const std::string& key);

// A free name beside `path` for its earlier version, in the same folder
// (so that moving it there is a rename); empty when none can be made.
std::string AsideName(const std::string& path);

// Reads a journal; nothing when the file is missing or not a journal.
std::optional<JournalContents> ReadJournal(const std::string& path);

// True while the process that wrote a journal still runs.
bool JournalRunAlive(const JournalRun& run);

// Root names as the journal writes them.
std::string RootName(HKEY root);
std::optional<HKEY> RootNamed(const std::string& name);
