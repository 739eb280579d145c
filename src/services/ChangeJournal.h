// What the services that change the machine tell the install's journal
// before each change. The install run owns its journal and hands it to every
// service that creates a folder, copies a file, writes a registry value or
// an INI entry; where no journal is kept (the uninstall, the start-up's own
// work files, an install whose journal could not be made) they are handed
// a NoJournal, which records nothing.
#pragma once

#include <windows.h>

#include <string>

class ChangeJournal {
public:
    // False for a NoJournal: nothing it is told is kept, so an earlier file
    // is replaced outright instead of being kept aside for an undo.
    virtual bool Records() const = 0;

    // A folder about to be created; once it stands, made empty by the run,
    // FolderMade, after which MadeFolder knows it: whatever stands in it came
    // there during the run.
    virtual void FolderCreated(const std::string& path) = 0;
    virtual void FolderMade(const std::string& path) = 0;
    virtual bool MadeFolder(const std::string& path) const = 0;

    virtual void FileCreated(const std::string& path) = 0;
    virtual void MovedAside(const std::string& path, const std::string& aside) = 0;
    virtual void CopiedAside(const std::string& path, const std::string& copy) = 0;
    virtual void KeyCreated(HKEY root, const std::string& path) = 0;
    // Reads the value as it stands now and records it.
    virtual void ValueBefore(HKEY root, const std::string& path, const std::string& name) = 0;
    // Reads the entry as it stands now and records it.
    virtual void IniEntryBefore(const std::string& file, const std::string& section, const std::string& key) = 0;
    virtual void ComponentRegistered(const std::string& path, bool replacedEarlier) = 0;

protected:
    ChangeJournal() = default;
    ChangeJournal(const ChangeJournal&) = default;
    ChangeJournal& operator=(const ChangeJournal&) = default;
    ~ChangeJournal() = default;
};

// The journal of a run that keeps none.
class NoJournal final : public ChangeJournal {
public:
    bool Records() const override { return false; }
    void FolderCreated(const std::string&) override {}
    void FolderMade(const std::string&) override {}
    bool MadeFolder(const std::string&) const override { return false; }
    void FileCreated(const std::string&) override {}
    void MovedAside(const std::string&, const std::string&) override {}
    void CopiedAside(const std::string&, const std::string&) override {}
    void KeyCreated(HKEY, const std::string&) override {}
    void ValueBefore(HKEY, const std::string&, const std::string&) override {}
    void IniEntryBefore(const std::string&, const std::string&, const std::string&) override {}
    void ComponentRegistered(const std::string&, bool) override {}
};

// Records a file that is about to be written in place (a shortcut, the
// uninstall record): a new one as created, an earlier one by a copy of it
// beside it.
void JournalFileBeforeWriting(ChangeJournal& journal, const std::string& path);

// Records an INI entry about to be written; a file that does not exist yet
// is recorded as created first.
void JournalIniEntry(ChangeJournal& journal, const std::string& file, const std::string& section,
                     const std::string& key);

// A free name beside `path` for its earlier version, in the same folder
// (so that moving it there is a rename); empty when none can be made.
// Nothing is left at that name: a run killed before its earlier file was
// moved there leaves nothing that the undo would take for that file.
std::string AsideName(const std::string& path);
