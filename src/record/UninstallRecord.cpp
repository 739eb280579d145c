#include "record/UninstallRecord.h"

#include "record/RecordNumbering.h"
#include "script/PathParts.h"
#include "services/Win32Files.h"
#include "text/IniFile.h"

#include <windows.h>

#include <utility>
#include <vector>

namespace {

using KeyValues = std::vector<std::pair<std::string, std::string>>;

constexpr const char* MadeKey = "Made";
constexpr const char* ScopeKey = "Scope";

// One section written whole, laid out exactly as single keys would be: the
// section appended when new, each "key=value" line in the given order. 0 or
// the system's error code.
unsigned long WriteSection(const std::string& file, const std::string& section, const KeyValues& keys)
{
    std::vector<std::string> lines;
    lines.reserve(keys.size());
    for (const auto& [key, value] : keys) lines.push_back(key + "=" + value);
    return ReplaceProfileSection(section, lines, file);
}

// Keeps the first failure of a series of writes.
void Note(unsigned long& firstError, unsigned long result)
{
    if (firstError == 0) firstError = result;
}

KeyValues NumberedKeys(const std::string& prefix, const std::vector<std::string>& values)
{
    KeyValues keys;
    keys.reserve(values.size());
    for (size_t i = 0; i < values.size(); ++i) keys.emplace_back(prefix + std::to_string(i + 1), values[i]);
    return keys;
}

unsigned long WriteHeaderSections(const std::string& file, const UninstallRecordInput& input)
{
    unsigned long error = 0;
    Note(error, WriteSection(file, "Information",
                 {{"Message1", "Orvane UnSetup(UnInstall) Initialize File"},
                  {"Message2", "！！！　警告　！！！"},
                  {"Message3", "このファイルをエディタなどで書き換えたり，削除しないでください．"},
                  {"Message4", "書き換えた場合，アンセットアップ動作の保証はできません．"}}));
    Note(error, WriteSection(file, "Title", {{"UnSetup", input.unSetupTitle}}));
    KeyValues setupFolder = {{"Folder", input.appFolder}};
    if (input.setupFolderMade) setupFolder.emplace_back(MadeKey, "1");
    if (input.scope == InstallScope::User) setupFolder.emplace_back(ScopeKey, "User");
    Note(error, WriteSection(file, "SetupFolder", setupFolder));
    return error;
}

unsigned long WriteRestoreSlots(const std::string& file, const RestoreSlots& slots)
{
    KeyValues keys;
    for (size_t i = 0; i < slots.size(); ++i) {
        if (!slots[i].empty()) keys.emplace_back("Key" + std::to_string(i + 1), slots[i]);
    }
    return keys.empty() ? 0 : WriteSection(file, "RestoreRelate", keys);
}

void ClearReadOnly(const std::string& path)
{
    const DWORD attributes = AttributesOf(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        SetAttributesOf(path, attributes & ~FILE_ATTRIBUTE_READONLY);
}

// Replaces `record` by `built` in one step. On another volume the new record
// is first copied beside the old one, so that the replacing step is still a
// rename within one folder.
unsigned long PutInPlace(const std::string& built, const std::string& record)
{
    constexpr DWORD replace = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    ClearReadOnly(record);
    if (MoveOneFile(built, record, replace)) return 0;
    DWORD error = GetLastError();
    if (error != ERROR_NOT_SAME_DEVICE) return error;

    const std::string staged = FolderPart(record) + RecordBuildName;
    if (!CopyOneFile(built, staged)) {
        // A copy cut short by a full disk leaves nothing in the setup folder.
        error = GetLastError();
        DeleteOneFile(staged);
        return error;
    }
    if (!MoveOneFile(staged, record, replace)) {
        error = GetLastError();
        DeleteOneFile(staged);
        return error;
    }
    return 0;
}

}  // namespace

unsigned long WriteUninstallRecord(const UninstallRecordInput& input, const UninstallLists& lists,
                                   const RestoreSlots& slots, const RecordProgress& progress)
{
    const std::string built = input.workFolder + RecordBuildName;
    // The system may still hold a copy of a record built earlier in this run
    // under the same name; the new one starts from nothing.
    DeleteOneFile(built);
    FlushProfile(built);

    unsigned long error = WriteHeaderSections(built, input);
    for (const RecordList list : AllRecordLists) {
        if (progress) progress(list);
        const std::vector<std::string> values =
            NumberRecordSection(lists[list], list == RecordList::DeleteFileList);
        const RecordListName name = NameOf(list);
        if (!values.empty()) Note(error, WriteSection(built, name.section, NumberedKeys(name.prefix, values)));
    }
    if (progress) progress(std::nullopt);
    Note(error, WriteRestoreSlots(built, slots));
    if (!input.unSetupOption.empty())
        Note(error, WriteSection(built, "UnSetupOption", {{"CheckBox", input.unSetupOption}}));
    FlushProfile(built);

    // An incomplete record would lose entries of the earlier one; that one
    // stays in place instead.
    if (error == 0) error = PutInPlace(built, input.recordPath);
    DeleteOneFile(built);
    FlushProfile(built);
    FlushProfile(input.recordPath);
    return error;
}

bool RecordedSetupFolderMade(const std::string& recordPath)
{
    return ReadProfile("SetupFolder", MadeKey, "", recordPath) == "1";
}

InstallScope RecordedScope(const std::string& recordPath)
{
    return ReadProfile("SetupFolder", ScopeKey, "", recordPath) == "User" ? InstallScope::User : InstallScope::Machine;
}

void WriteUnSetupRegistryKey(const std::string& recordPath, const std::string& keyPath)
{
    WriteProfile("UnSetupRegistryKey", "Key", keyPath, recordPath);
}

void WriteProgramId(const std::string& recordPath, const std::string& programId)
{
    WriteProfile("ProgramID", "ID", programId, recordPath);
}
