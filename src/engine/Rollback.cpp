#include "engine/Rollback.h"

#include "script/PathParts.h"
#include "services/SharedComponents.h"
#include "services/SystemErrorText.h"
#include "services/Win32Registry.h"
#include "text/IniFile.h"
#include "text/Unicode.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

std::vector<BYTE> Bytes(const std::string& hex)
{
    auto digit = [](char c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
    std::vector<BYTE> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<BYTE>(digit(hex[i]) * 16 + digit(hex[i + 1])));
    return bytes;
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class Undo {
public:
    Undo(const ProtectedFolders& protectedFolders, RunLog& log) : protected_(protectedFolders), log_(log) {}

    void Entry(const JournalEntry& entry)
    {
        const std::vector<std::string>& f = entry.fields;
        if (entry.kind == "folder" && f.size() == 1) return Folder(f[0]);
        if (entry.kind == "file" && f.size() == 1) return File(f[0]);
        if ((entry.kind == "aside" || entry.kind == "copy") && f.size() == 2) return Earlier(f[0], f[1]);
        if (entry.kind == "key" && f.size() == 2) return Key(f[0], f[1]);
        if (entry.kind == "value" && (f.size() == 4 || f.size() == 5)) return Value(f);
        if (entry.kind == "ini" && f.size() == 4) return Ini(f[0], f[1], f[2], f[3]);
        if (entry.kind == "registered" && f.size() == 2) return Registered(f[0], f[1] == "1");
        Failed("Not undone (unknown journal line): " + entry.kind);
    }

    // Components whose earlier file came back are registered again last,
    // once every earlier file is in place.
    void RegisterEarlierComponents()
    {
        for (const std::string& path : registerAgain_) {
            if (SelfRegister(path, true) == RegistrationResult::Done)
                Done("Undone: earlier component registered again: " + path);
            else
                Failed("Not undone: earlier component not registered again: " + path);
        }
    }

    UndoCount Count() const { return count_; }

private:
    void Done(const std::string& line)
    {
        log_.Line(line);
        ++count_.undone;
    }

    void Failed(const std::string& line)
    {
        log_.Line(line);
        ++count_.notUndone;
    }

    void Folder(const std::string& path)
    {
        if (!IsAbsoluteFolder(path) || protected_.Protects(path)) return Failed("Not undone (protected folder): " + path);
        const std::wstring wide = WideFromShiftJis(path);
        if (!Exists(wide)) return;
        // Only an empty folder goes: anything in it that the install did
        // not make stays.
        if (RemoveDirectoryW(wide.c_str()))
            Done("Undone: folder removed: " + path);
        else
            Failed(WithSystemError("Not undone: folder not removed: " + path, GetLastError()));
    }

    void File(const std::string& path)
    {
        const std::wstring wide = WideFromShiftJis(path);
        if (!IsAbsoluteFolder(path) || !Exists(wide)) return;
        SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (DeleteFileW(wide.c_str()))
            Done("Undone: file removed: " + path);
        else
            Failed(WithSystemError("Not undone: file not removed: " + path, GetLastError()));
    }

    void Earlier(const std::string& path, const std::string& aside)
    {
        const std::wstring wideAside = WideFromShiftJis(aside);
        // No earlier file kept: the change it was kept for never happened.
        if (!IsAbsoluteFolder(path) || !Exists(wideAside)) return;
        const std::wstring wide = WideFromShiftJis(path);
        SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (MoveFileExW(wideAside.c_str(), wide.c_str(), MOVEFILE_REPLACE_EXISTING))
            Done("Undone: earlier file restored: " + path);
        else
            Failed(WithSystemError("Not undone: earlier file not restored: " + path + " (kept as " + aside + ")",
                                   GetLastError()));
    }

    void Key(const std::string& rootName, const std::string& path)
    {
        const std::optional<HKEY> root = RootNamed(rootName);
        if (!root || path.empty()) return Failed("Not undone (no key named): " + rootName + "\\" + path);
        if (!RegKeyExists(*root, path)) return;
        const std::wstring wide = WideFromShiftJis(path);
        RegDeleteTreeW(*root, wide.c_str());
        const LONG status = RegDeleteKeyW(*root, wide.c_str());
        if (status == ERROR_SUCCESS)
            Done("Undone: registry key removed: " + rootName + "\\" + path);
        else
            Failed(WithSystemError("Not undone: registry key not removed: " + rootName + "\\" + path,
                                   static_cast<unsigned long>(status)));
    }

    void Value(const std::vector<std::string>& f)
    {
        const std::optional<HKEY> root = RootNamed(f[0]);
        const std::string where = f[0] + "\\" + f[1] + " " + f[2];
        if (!root) return Failed("Not undone (no key named): " + where);
        const bool wasMissing = f.size() == 4;
        const RegKey key = wasMissing ? OpenRegKey(*root, f[1], KEY_READ | KEY_WRITE) : CreateRegKey(*root, f[1]);
        if (!key) {
            if (!wasMissing) Failed("Not undone: registry value not restored: " + where);
            return;
        }
        const std::wstring name = WideFromShiftJis(f[2]);
        LONG status = ERROR_SUCCESS;
        if (wasMissing) {
            status = RegDeleteValueW(key.Get(), name.c_str());
            if (status == ERROR_FILE_NOT_FOUND) return;
        } else {
            const std::vector<BYTE> data = Bytes(f[4]);
            const DWORD type = std::strtoul(f[3].c_str(), nullptr, 10);
            status = RegSetValueExW(key.Get(), name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
        }
        if (status == ERROR_SUCCESS)
            Done((wasMissing ? "Undone: registry value removed: " : "Undone: registry value restored: ") + where);
        else
            Failed(WithSystemError("Not undone: registry value " + where, static_cast<unsigned long>(status)));
    }

    void Ini(const std::string& file, const std::string& section, const std::string& key, const std::string& before)
    {
        const std::string where = file + " [" + section + "] " + key;
        const bool restored = before == "-" ? DeleteProfileKey(section, key, file) == 0
                                            : WriteProfile(section, key, before.substr(1), file);
        if (restored)
            Done((before == "-" ? "Undone: INI entry removed: " : "Undone: INI entry restored: ") + where);
        else
            Failed("Not undone: INI entry " + where);
    }

    void Registered(const std::string& path, bool replacedEarlier)
    {
        if (Exists(WideFromShiftJis(path)) && SelfRegister(path, false) == RegistrationResult::Done)
            Done("Undone: component unregistered: " + path);
        if (replacedEarlier) registerAgain_.push_back(path);
    }

    const ProtectedFolders& protected_;
    RunLog& log_;
    UndoCount count_;
    std::vector<std::string> registerAgain_;
};

}  // namespace

UndoCount UndoChanges(const JournalContents& journal, const ProtectedFolders& protectedFolders, RunLog& log)
{
    Undo undo(protectedFolders, log);
    std::for_each(journal.entries.rbegin(), journal.entries.rend(), [&](const JournalEntry& e) { undo.Entry(e); });
    undo.RegisterEarlierComponents();
    return undo.Count();
}

bool UndoJournalFile(const std::string& path, const ProtectedFolders& protectedFolders, RunLog& log)
{
    const std::optional<JournalContents> journal = ReadJournal(path);
    if (!journal || JournalRunAlive(journal->run)) return false;
    UndoChanges(*journal, protectedFolders, log);
    // What was kept aside and not put back is of no use any more.
    for (const JournalEntry& entry : journal->entries) {
        if ((entry.kind == "aside" || entry.kind == "copy") && entry.fields.size() == 2)
            DeleteFileW(WideFromShiftJis(entry.fields[1]).c_str());
    }
    DeleteFileW(WideFromShiftJis(path).c_str());
    return true;
}
