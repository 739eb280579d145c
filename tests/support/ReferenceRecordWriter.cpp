#include "support/ReferenceRecordWriter.h"

#include "script/TextCase.h"
#include "services/Deletion.h"
#include "text/IniFile.h"

#include <windows.h>

#include <vector>

namespace {

// The reference goes through the system's own profile functions, so that
// the program's writer is compared with the system's, not with itself.
void SystemWriteProfile(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& file)
{
    WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
}

std::string SystemReadProfile(const std::string& section, const std::string& key, const std::string& fallback,
                        const std::string& file)
{
    std::vector<char> buffer(65536, '\0');
    const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), file.c_str());
    return std::string(buffer.data(), length);
}

int SystemFindNumberedKey(const std::string& value, const std::string& section, const std::string& prefix,
                    const std::string& file)
{
    const std::string wanted = ListEntryField(value);
    for (int n = 1;; ++n) {
        const std::string field = ListEntryField(SystemReadProfile(section, prefix + std::to_string(n), "", file));
        if (field.empty() || SameListEntry(field, wanted)) return n;
    }
}

}  // namespace

void WriteRecordKeyByKey(const UninstallRecordInput& input, const UninstallLists& lists, const RestoreSlots& slots)
{
    const std::string& record = input.recordPath;
    DeleteFiles(record);
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, record.c_str());

    SystemWriteProfile("Information", "Message1", "Orvane UnSetup(UnInstall) Initialize File", record);
    SystemWriteProfile("Information", "Message2", "！！！　警告　！！！", record);
    SystemWriteProfile("Information", "Message3", "このファイルをエディタなどで書き換えたり，削除しないでください．", record);
    SystemWriteProfile("Information", "Message4", "書き換えた場合，アンセットアップ動作の保証はできません．", record);
    SystemWriteProfile("Title", "UnSetup", input.unSetupTitle, record);
    SystemWriteProfile("SetupFolder", "Folder", input.appFolder, record);

    for (const RecordList list : AllRecordLists) {
        const RecordListName name = NameOf(list);
        for (const std::string& item : lists[list]) {
            const int n = SystemFindNumberedKey(item, name.section, name.prefix, record);
            const std::string key = name.prefix + std::to_string(n);
            std::string value = item;
            if (list == RecordList::DeleteFileList) {
                const std::string stored = SystemReadProfile(name.section, key, "", record);
                if (Contains(stored, "/S") && !Contains(item, "/S")) value += Contains(item, ",/") ? "/S" : ",/S";
            }
            SystemWriteProfile(name.section, key, value, record);
        }
    }
    for (size_t i = 0; i < slots.size(); ++i) {
        if (!slots[i].empty()) SystemWriteProfile("RestoreRelate", "Key" + std::to_string(i + 1), slots[i], record);
    }
    if (!input.unSetupOption.empty()) SystemWriteProfile("UnSetupOption", "CheckBox", input.unSetupOption, record);
}
