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

std::vector<BYTE> Bytes(const std::string& hex)
{
    auto digit = [](char c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
    std::vector<BYTE> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<BYTE>(digit(hex[i]) * 16 + digit(hex[i + 1])));
    return bytes;
}

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
            if (entry.kind == "file" || entry.kind == "aside" || entry.kind == "copy")
                copied_.insert(AsciiUpper(entry.fields[0]));
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
            log_.Line("Not followed: " + entry.kind + " line: " + refusal);
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
        const std::vector<std::string>& f = entry.fields;
        if (entry.kind == "folder" || entry.kind == "file") return UnchangedPath(f[0]);
        if (entry.kind == "aside" || entry.kind == "copy") return Exists(f[1]) ? UnchangedPath(f[0]) : std::string();
        if (entry.kind == "key") return UnchangedKey(f[0], f[1]);
        if (entry.kind == "value") return ValueUnchanged(f) ? std::string() : UnchangedKey(f[0], f[1]);
        if (entry.kind == "ini") return IniEntryState(f[0], f[1], f[2]) == f[3] ? std::string() : UnchangedPath(f[0]);
        if (entry.kind == "registered") return Copied(f[0]) ? UnchangedPath(f[0]) : std::string();
        return {};
    }

    std::string UnchangedPath(const std::string& path) const
    {
        const std::optional<uint64_t> changed = LastChangeOfPath(path);
        if (!changed || *changed >= since_) return {};
        return path + " has not changed since the journal began";
    }

    std::string UnchangedKey(const std::string& rootName, const std::string& path) const
    {
        const std::optional<uint64_t> written = LastWriteOfKey(*RootNamed(rootName), path);
        if (!written || *written >= since_) return {};
        return rootName + "\\" + path + " has not changed since the journal began";
    }

    // The value stands as the journal recorded it: nothing to undo.
    static bool ValueUnchanged(const std::vector<std::string>& f)
    {
        return ValueState(*RootNamed(f[0]), f[1], f[2]) == std::vector<std::string>(f.begin() + 3, f.end());
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
        const std::vector<std::string>& f = entry.fields;
        if (entry.kind == "folder") return Folder(f[0]);
        if (entry.kind == "file") return File(f[0]);
        if (entry.kind == "aside" || entry.kind == "copy") return Earlier(f[0], f[1]);
        if (entry.kind == "key") return Key(f[0], f[1]);
        if (entry.kind == "value") return Value(f);
        if (entry.kind == "ini") return Ini(f[0], f[1], f[2], f[3]);
        if (entry.kind == "registered") return Registered(f[0], f[1] == "1");
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

    void Key(const std::string& rootName, const std::string& path)
    {
        const HKEY root = *RootNamed(rootName);
        if (!RegKeyExists(root, path)) return;
        // The key goes with everything below it, itself included.
        const LONG status = DeleteRegTree(root, path);
        if (status == ERROR_SUCCESS)
            log_.Line("Undone: registry key removed: " + rootName + "\\" + path);
        else
            log_.Line(WithSystemError("Not undone: registry key not removed: " + rootName + "\\" + path,
                                      static_cast<unsigned long>(status)));
    }

    void Value(const std::vector<std::string>& f)
    {
        const std::string where = f[0] + "\\" + f[1] + " " + f[2];
        if (ValueUnchanged(f)) return;
        // A value that was there before lived in a key that was there before:
        // one that has gone since is not made again for it.
        const RegKey key = OpenRegKey(*RootNamed(f[0]), f[1], KEY_READ | KEY_WRITE);
        if (!key) return log_.Line("Not undone (its key is gone): registry value " + where);
        const bool wasMissing = f[3] == "-";
        LONG status = ERROR_SUCCESS;
        if (wasMissing) {
            status = DeleteRegValue(key.Get(), f[2]);
        } else {
            const std::vector<BYTE> data = Bytes(f[4]);
            status = WriteRegBytes(key.Get(), f[2], std::strtoul(f[3].c_str(), nullptr, 10), data.data(),
                                   static_cast<DWORD>(data.size()));
        }
        if (status == ERROR_SUCCESS)
            log_.Line((wasMissing ? "Undone: registry value removed: " : "Undone: registry value restored: ") + where);
        else
            log_.Line(WithSystemError("Not undone: registry value " + where, static_cast<unsigned long>(status)));
    }

    void Ini(const std::string& file, const std::string& section, const std::string& key, const std::string& before)
    {
        const std::string where = file + " [" + section + "] " + key;
        if (IniEntryState(file, section, key) == before || Protected(file)) return;
        if (!Exists(file)) return log_.Line("Not undone (the file is gone): INI entry " + where);
        const bool restored = before == "-" ? DeleteProfileKey(section, key, file) == 0
                                            : WriteProfile(section, key, before.substr(1), file);
        if (restored)
            log_.Line((before == "-" ? "Undone: INI entry removed: " : "Undone: INI entry restored: ") + where);
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
        if (entry.kind == "aside" || entry.kind == "copy") DeleteOneFile(entry.fields[1]);
    }
    Remove(path, log);
    return {JournalVerdict::Undone, {}};
}
