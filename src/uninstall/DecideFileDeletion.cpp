#include "uninstall/DecideFileDeletion.h"

#include "install/ComponentRegistration.h"
#include "script/PathParts.h"
#include "script/TextCase.h"
#include "script/TextParts.h"
#include "services/Deletion.h"
#include "services/FileOps.h"
#include "services/PendingReplacement.h"
#include "services/SharedComponents.h"

namespace {

constexpr int SwitchFieldLength = 5;  // the comma and four characters

// A component is unregistered before it goes.
FileDeletion Delete(SetupCallback& person, const std::string& path)
{
    UnregisterComponent(person, path);
    return {DeleteFiles(path), nullptr, {}};
}

FileDeletion Kept(const char* reason)
{
    return {0, reason, {}};
}

constexpr const char* KeptByAnswer = "kept by the answer to its question";

FileDeletion DeleteWhenYes(SetupCallback& person, bool yes, const std::string& path)
{
    return yes ? Delete(person, path) : Kept(KeptByAnswer);
}

bool InComponentFolder(const std::string& path, const ComponentFolders& folders)
{
    return Contains(path, folders.windowsFolder) || Contains(path, folders.systemFolder);
}

// A file that no program counts: the record's switches decide, and a DLL or
// OCX in the system's own folders is asked about.
FileDeletion DecideUncountedFile(const RecordedFile& file, const ComponentFolders& folders, SetupCallback& person)
{
    if (Contains(file.switches, "/C")) return DeleteWhenYes(person, person.DeleteWithCaution(file.path), file.path);
    if (Contains(file.switches, "/L")) return Kept("the record leaves it (/L)");
    if (Contains(file.switches, "/F")) return Delete(person, file.path);
    if (IsRegistrable(file.path) && InComponentFolder(file.path, folders))
        return DeleteWhenYes(person, person.DeleteUncountedComponent(file.path), file.path);
    return Delete(person, file.path);
}

// The shared-file question, unless an earlier "all" answer holds for every
// file; true when the file may go.
bool SharedFileMayGo(const std::string& path, SharedFilesChoice& sharedFiles, SetupCallback& person)
{
    if (sharedFiles != SharedFilesChoice::AskEach) return sharedFiles == SharedFilesChoice::DeleteAll;
    switch (person.AskSharedFile(path)) {
    case SharedFileAnswer::Delete: return true;
    case SharedFileAnswer::Keep: return false;
    case SharedFileAnswer::DeleteAll: sharedFiles = SharedFilesChoice::DeleteAll; return true;
    case SharedFileAnswer::KeepAll: sharedFiles = SharedFilesChoice::KeepAll; return false;
    }
    return false;
}

// A counted file: only one the record marks shared ("/S") is uncounted, and
// only when no other program counts it any more is its deletion offered.
FileDeletion DecideCountedFile(const RecordedFile& file, SharedFilesChoice& sharedFiles, SetupCallback& person)
{
    if (!Contains(file.switches, "/S")) return Kept("other programs count it as shared");
    NoJournal unjournaled;  // the uninstall keeps no journal
    if (AdjustSharedCount(file.path, false, unjournaled) != 0) return Kept("its shared count was lowered; other programs still use it");
    return SharedFileMayGo(file.path, sharedFiles, person) ? Delete(person, file.path) : Kept(KeptByAnswer);
}

}  // namespace

RecordedFile SplitRecordedFile(const std::string& value)
{
    const int comma = TokenPos(",", value);
    if (comma == 0) return {value, ""};
    return {LeftStr(value, comma - 1), MidStr(value, comma).substr(0, SwitchFieldLength)};
}

FileDeletion DecideFileDeletion(const RecordedFile& file, const ComponentFolders& folders,
                                SharedFilesChoice& sharedFiles, SetupCallback& person)
{
    NoJournal unjournaled;
    if (!folders.sharedCounts || GetSharedCount(file.path, unjournaled) == 0)
        return DecideUncountedFile(file, folders, person);
    return DecideCountedFile(file, sharedFiles, person);
}
