#include "engine/Rollback.h"

#include "script/TextCase.h"
#include "services/ChangeTimes.h"
#include "services/SharedComponents.h"
#include "services/SystemErrorText.h"
#include "services/Win32Files.h"
#include "services/Win32Registry.h"
#include "text/IniFile.h"
#include "text/Unicode.h"

#include <windows.h>

#include <algorithm>
#include <set>
#include <vector>

namespace {

// The file system and the registry stamp their times with clocks of their
// own grain: a change made just after the journal began may read a little
// earlier than its start.
constexpr uint64_t ClockGrain = 2 * 10000000ull;  // two seconds

bool Exists(const std::string& path)
{
    return AttributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

// The journal's lines, checked against the machine and then undone.
class Undo {
public:
    Undo(const JournalContents& journal, const ProtectedFolders& protectedFolders, RunLog& log)
        : journal_(journal), protected_(protectedFolders), log_(log),
          since_(journal.run.journalStart > ClockGrain ? journal.run.journalStart - ClockGrain : 0)
    {
        for (const JournalEntry& entry : journal.entries) {
            if (const auto* file = std::get_if<FileLine>(&entry)) copied_.insert(AsciiUpper(file->path));
            if (const auto* earlier = std::get_if<EarlierFileLine>(&entry)) copied_.insert(AsciiUpper(earlier->path));
        }
    }

    // True when every line names only what changed since the journal began:
    // what its run made. Each line that names anything older is logged.
    bool FollowsItsRun() const
    {
        bool follows = true;
        for (const JournalEntry& entry : journal_.entries) {
            const std::string refusal = Refusal(entry);
            if (refusal.empty()) continue;
            log_.Line(std::string("Not followed: ") + KindOf(entry) + " line: " + refusal);
            follows = false;
        }
        return follows;
    }

    // Every change, last first; components whose earlier file came back are
    // registered again last, once every earlier file is in place.
    void All()
    {
        std::for_each(journal_.entries.rbegin(), journal_.entries.rend(), [&](const JournalEntry& e) { Entry(e); });
        for (const std::string& path : registerAgain_) {
            if (SelfRegister(path, true) == RegistrationResult::Done)
                log_.Line("Undone: earlier component registered again: " + path);
            else
                log_.Line("Not undone: earlier component not registered again: " + path);
        }
    }

private:
    // Why the line names something its run cannot have made; empty when the
    // thing is gone, would not change, or changed since the journal began.
    std::string Refusal(const JournalEntry& entry) const
    {
        struct Refusals {
            const Undo& undo;
            std::string operator()(const FolderLine& line) const { return undo.UnchangedPath(line.path); }
            std::string operator()(const FileLine& line) const { return undo.UnchangedPath(line.path); }
            std::string operator()(const EarlierFileLine& line) const
            {
                return Exists(line.kept) ? undo.UnchangedPath(line.path) : std::string();
            }
            std::string operator()(const KeyLine& line) const { return undo.UnchangedKey(line.root, line.path); }
            std::string operator()(const ValueLine& line) const
            {
                return ValueUnchanged(line) ? std::string() : undo.UnchangedKey(line.root, line.path);
            }
            std::string operator()(const IniLine& line) const
            {
                return IniEntryState(line.file, line.section, line.key) == line.before ? std::string()
                                                                                       : undo.UnchangedPath(line.file);
            }
            std::string operator()(const RegisteredLine& line) const
            {
                return undo.Copied(line.path) ? undo.UnchangedPath(line.path) : std::string();
            }
        };
        return std::visit(Refusals{*this}, entry);
    }

    std::string UnchangedPath(const std::string& path) const
    {
        const std::optional<uint64_t> changed = LastChangeOfPath(path);
        if (!changed || *changed >= since_) return {};
        return path + " has not changed since the journal began";
    }

    std::string UnchangedKey(HKEY root, const std::string& path) const
    {
        const std::optional<uint64_t> written = LastWriteOfKey(root, path);
        if (!written || *written >= since_) return {};
        return RootName(root) + "\\" + path + " has not changed since the journal began";
    }

    // The value stands as the journal recorded it: nothing to undo.
    static bool ValueUnchanged(const ValueLine& line)
    {
        return ValueState(line.root, line.path, line.name) == line.before;
    }

    bool Copied(const std::string& path) const { return copied_.count(AsciiUpper(path)) != 0; }

    // The rule of the uninstall holds for every path a line names.
    bool Protected(const std::string& path) const
    {
        if (!protected_.Protects(path)) return false;
        log_.Line("Not undone (protected folder): " + path);
        return true;
    }

    void Entry(const JournalEntry& entry)
    {
        struct Undoing {
            Undo& undo;
            void operator()(const FolderLine& line) const { undo.Folder(line.path); }
            void operator()(const FileLine& line) const { undo.File(line.path); }
            void operator()(const EarlierFileLine& line) const { undo.Earlier(line.path, line.kept); }
            void operator()(const KeyLine& line) const { undo.Key(line.root, line.path); }
            void operator()(const ValueLine& line) const { undo.Value(line); }
            void operator()(const IniLine& line) const { undo.Ini(line); }
            void operator()(const RegisteredLine& line) const { undo.Registered(line.path, line.replacedEarlier); }
        };
        std::visit(Undoing{*this}, entry);
    }

    void Folder(const std::string& path)
    {
        if (!Exists(path) || Protected(path)) return;
        // Only an empty folder goes: anything in it that the install did
        // not make stays. Never a link: the folder it leads to is not the
        // install's.
        if (RemoveEmptyFolder(path))
            log_.Line("Undone: folder removed: " + path);
        else
            log_.Line(WithSystemError("Not undone: folder not removed: " + path, GetLastError()));
    }

    void File(const std::string& path)
    {
        if (!Exists(path) || Protected(path)) return;
        SetAttributesOf(path, FILE_ATTRIBUTE_NORMAL);
        if (DeleteOneFile(path))
            log_.Line("Undone: file removed: " + path);
        else
            log_.Line(WithSystemError("Not undone: file not removed: " + path, GetLastError()));
    }

    void Earlier(const std::string& path, const std::string& aside)
    {
        // No earlier file kept: the change it was kept for never happened.
        if (!Exists(aside) || Protected(path)) return;
        SetAttributesOf(path, FILE_ATTRIBUTE_NORMAL);
        if (MoveOneFile(aside, path, MOVEFILE_REPLACE_EXISTING))
            log_.Line("Undone: earlier file restored: " + path);
        else
            log_.Line(WithSystemError("Not undone: earlier file not restored: " + path + " (kept as " + aside + ")",
                                      GetLastError()));
    }

    void Key(HKEY root, const std::string& path)
    {
        const std::string rootName = RootName(root);
        if (!RegKeyExists(root, path)) return;
        // The key goes with everything below it, itself included.
        const LONG status = DeleteRegTree(root, path);
        if (status == ERROR_SUCCESS)
            log_.Line("Undone: registry key removed: " + rootName + "\\" + path);
        else
            log_.Line(WithSystemError("Not undone: registry key not removed: " + rootName + "\\" + path,
                                      static_cast<unsigned long>(status)));
    }

    void Value(const ValueLine& line)
    {
        const std::string where = RootName(line.root) + "\\" + line.path + " " + line.name;
        if (ValueUnchanged(line)) return;
        // A value that was there before lived in a key that was there before:
        // one that has gone since is not made again for it.
        const RegKey key = OpenRegKey(line.root, line.path, KEY_READ | KEY_WRITE);
        if (!key) return log_.Line("Not undone (its key is gone): registry value " + where);
        const bool wasMissing = !line.before;
        LONG status = ERROR_SUCCESS;
        if (wasMissing) {
            status = DeleteRegValue(key.Get(), line.name);
        } else {
            const std::vector<BYTE>& data = line.before->bytes;
            status = WriteRegBytes(key.Get(), line.name, line.before->type, data.data(), static_cast<DWORD>(data.size()));
        }
        if (status == ERROR_SUCCESS)
            log_.Line((wasMissing ? "Undone: registry value removed: " : "Undone: registry value restored: ") + where);
        else
            log_.Line(WithSystemError("Not undone: registry value " + where, static_cast<unsigned long>(status)));
    }

    void Ini(const IniLine& line)
    {
        const std::string where = line.file + " [" + line.section + "] " + line.key;
        if (IniEntryState(line.file, line.section, line.key) == line.before || Protected(line.file)) return;
        if (!Exists(line.file)) return log_.Line("Not undone (the file is gone): INI entry " + where);
        const bool restored = !line.before ? DeleteProfileKey(line.section, line.key, line.file) == 0
                                           : WriteProfile(line.section, line.key, *line.before, line.file);
        if (restored)
            log_.Line((!line.before ? "Undone: INI entry removed: " : "Undone: INI entry restored: ") + where);
        else
            log_.Line("Not undone: INI entry " + where);
    }

    void Registered(const std::string& path, bool replacedEarlier)
    {
        // A component the install registered where it found it: it was in
        // place before, and stays as it is.
        if (!Copied(path)) return log_.Line("Left registered (it was there before the install): " + path);
        if (Protected(path)) return;
        if (Exists(path) && SelfRegister(path, false) == RegistrationResult::Done)
            log_.Line("Undone: component unregistered: " + path);
        if (replacedEarlier) registerAgain_.push_back(path);
    }

    const JournalContents& journal_;
    const ProtectedFolders& protected_;
    RunLog& log_;
    uint64_t since_;
    std::set<std::string> copied_;  // paths the install copied to, upper-cased
    std::vector<std::string> registerAgain_;
};

// A journal that says nothing is to be undone goes; one held open by
// another program stays, and says so to the next run.
void Remove(const std::string& path, RunLog& log)
{
    if (RemoveJournalFile(path)) return;
    const unsigned long error = GetLastError();
    log.Line(WithSystemError("The journal could not be removed: " + path, error));
}

JournalSettlement SetAside(const std::string& path, const std::string& why, RunLog& log)
{
    const std::string keptAs = KeepJournalAside(path);
    const unsigned long error = GetLastError();
    log.Line("The journal was set aside, nothing of it undone: " + why);
    log.Line(keptAs.empty() ? WithSystemError("It could not be moved: " + path, error) : "It was kept as " + keptAs);
    return {JournalVerdict::SetAside, keptAs};
}

}  // namespace

JournalSettlement SettleJournal(const std::string& path, const ProtectedFolders& protectedFolders, RunLog& log)
{
    const std::optional<JournalContents> journal = ReadJournal(path);
    if (!journal) return {};
    if (JournalRunAlive(journal->run)) {
        log.Line("Left alone: the journal's run is still alive (process " + std::to_string(journal->run.processId) +
                 ")");
        return {JournalVerdict::RunAlive, {}};
    }
    if (!journal->fault.empty()) return SetAside(path, "its lines do not hold together (" + journal->fault + ")", log);
    if (journal->ended || journal->entries.empty()) {
        log.Line(journal->ended ? "Its install ended: nothing to undo" : "Its install made no change: nothing to undo");
        Remove(path, log);
        return {JournalVerdict::NothingToUndo, {}};
    }
    Undo undo(*journal, protectedFolders, log);
    if (!undo.FollowsItsRun()) return SetAside(path, "it names what its run did not change", log);
    undo.All();
    // Said before the file goes: a journal that stays is never undone twice.
    MarkJournalEnded(path, *journal);
    // What was kept aside and not put back is of no use any more.
    for (const JournalEntry& entry : journal->entries) {
        if (const auto* earlier = std::get_if<EarlierFileLine>(&entry)) DeleteOneFile(earlier->kept);
    }
    Remove(path, log);
    return {JournalVerdict::Undone, {}};
}
