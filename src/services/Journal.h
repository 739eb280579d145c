// The install's journal: before each change to the machine, what is needed
// to undo it is appended to a file, so that an install that fails, is
// stopped or is killed can be undone, now or by the next run. A line that
// keeps an earlier file, value or entry is flushed to disk before the change
// that replaces it; the lines of new things (which a power cut would leave
// behind, destroying nothing) reach the disk with the next flushed line.
//
// The file is Shift-JIS text, one line per record, each ended by CR LF;
// fields are separated by tabs (a tab, CR, LF or "%" inside a field is
// written as %09, %0D, %0A, %25):
//
//     OrvaneJournal 2
//     run <process id> <process start> <journal start>
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
//     end                                the install ended: nothing to undo
//
// Every line, the first included, ends with one more field, its seal: the
// SHA-256 (64 upper-case hex digits) of the seal of the line before it
// followed by the line's own text up to that last tab (for the first line,
// of its text alone). The seals tie each line to the lines before it, and
// so to the run line: a line changed, added, dropped or moved, or taken
// from another journal, breaks the chain. The times of the run line are
// UTC FILETIMEs in decimal: when the process started and when the journal
// was begun. Roots are HKCR, HKCU, HKLM and HKU; paths name a drive or a
// share; an earlier file is kept beside its path as OVJ<hex>.tmp.
//
// A journal holds together when its lines are in this form with every seal
// in its chain and nothing after the end line. A last line without its
// CR LF was being written when its run died: it is ignored, since the change
// it names was not made yet. A journal ends with the end line once its
// install stands (or the person keeps what it did), and is then deleted; a
// journal that says it ended is never undone.
#pragma once

#include "services/ChangeJournal.h"
#include "services/JournalFormat.h"
#include "services/Win32Files.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

// The run that wrote a journal: a journal whose run is still alive is
// never undone by another run.
struct JournalRun {
    unsigned long processId = 0;
    uint64_t startTime = 0;     // the process's
    uint64_t journalStart = 0;  // when the journal was begun
};

struct JournalContents {
    JournalRun run;
    std::vector<JournalEntry> entries;
    bool ended = false;     // its install ended
    std::string lastSeal;   // the chain's last link, to go on from
    std::string fault;      // why its lines do not hold together; empty when they do
};

class Journal final : public ChangeJournal {
public:
    // Starts a journal at `path` for this process. Nothing when the file
    // cannot be made, or when a file is there already: never another run's
    // journal is replaced.
    static std::optional<Journal> Start(const std::string& path);
    Journal(Journal&&) noexcept;
    Journal& operator=(Journal&&) noexcept;
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;
    ~Journal();

    const std::string& Path() const { return path_; }
    bool Empty() const { return changes_ == 0; }

    bool Records() const override { return true; }
    void FolderCreated(const std::string& path) override;
    void FolderMade(const std::string& path) override;
    bool MadeFolder(const std::string& path) const override;
    void FileCreated(const std::string& path) override;
    void MovedAside(const std::string& path, const std::string& aside) override;
    void CopiedAside(const std::string& path, const std::string& copy) override;
    void KeyCreated(HKEY root, const std::string& path) override;
    void ValueBefore(HKEY root, const std::string& path, const std::string& name) override;
    void IniEntryBefore(const std::string& file, const std::string& section, const std::string& key) override;
    void ComponentRegistered(const std::string& path, bool replacedEarlier) override;

    // The install stands, or the person chose to keep what it did: the end
    // line goes to disk, then the file goes with every earlier file kept
    // aside. False when the file stays (held open by another program): it
    // then tells any later run that its install ended.
    bool End();
    // Closes the file, leaving it for the undo.
    void Close();

private:
    Journal(std::string path, FileHandle file, JournalSeal seal);
    void Append(const JournalEntry& entry, LineDurability durability);

    std::string path_;
    FileHandle file_;
    JournalSeal seal_;
    int changes_ = 0;
    std::vector<std::string> asides_;
    std::unordered_set<std::string> madeFolders_;  // in full, upper-cased, with a trailing backslash
};

// Reads a journal; nothing when there is no file or it cannot be read.
// A file with no complete line is a journal with nothing in it. Lines that
// do not hold together give the reason in `fault`, with what was read
// before them.
std::optional<JournalContents> ReadJournal(const std::string& path);

// Appends the end line to a journal read from disk, after its undo.
bool MarkJournalEnded(const std::string& path, const JournalContents& contents);

// Deletes a journal file (a read-only one too), trying again for a few
// seconds while another program holds it open; false when it stays.
bool RemoveJournalFile(const std::string& path);

// Moves a journal that does not hold together to the first free name
// "<name>-<n>.JNL" beside it, for a person to look at; its new path, or
// empty when it cannot be moved.
std::string KeepJournalAside(const std::string& path);

// A registry value or an INI entry as it stands now: nothing for one that
// does not exist.
std::optional<KeptValue> ValueState(HKEY root, const std::string& path, const std::string& name);
std::optional<std::string> IniEntryState(const std::string& file, const std::string& section, const std::string& key);

// True while the process that wrote a journal still runs.
bool JournalRunAlive(const JournalRun& run);
