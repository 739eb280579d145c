#include "support/ReferenceRecordWriter.h"

#include "services/Deletion.h"
#include "text/IniFile.h"
#include "text/StrOp.h"

void WriteRecordKeyByKey(const UninstallRecordInput& input, const UninstallLists& lists, const RestoreSlots& slots)
{
    const std::string& record = input.recordPath;
    DeleteFiles(record);

    WriteProfile("Information", "Message1", "Orvane UnSetup(UnInstall) Initialize File", record);
    WriteProfile("Information", "Message2", "！！！　警告　！！！", record);
    WriteProfile("Information", "Message3", "このファイルをエディタなどで書き換えたり，削除しないでください．", record);
    WriteProfile("Information", "Message4", "書き換えた場合，アンセットアップ動作の保証はできません．", record);
    WriteProfile("Title", "UnSetup", input.unSetupTitle, record);
    WriteProfile("SetupFolder", "Folder", input.appFolder, record);

    for (const RecordList list : AllRecordLists) {
        const RecordListName name = NameOf(list);
        for (const std::string& item : lists[list]) {
            const int n = FindNumberedKey(item, name.section, name.prefix, record);
            const std::string key = name.prefix + std::to_string(n);
            std::string value = item;
            if (list == RecordList::DeleteFileList) {
                const std::string stored = ReadProfile(name.section, key, "", record);
                if (Contains(stored, "/S") && !Contains(item, "/S")) value += Contains(item, ",/") ? "/S" : ",/S";
            }
            WriteProfile(name.section, key, value, record);
        }
    }
    for (size_t i = 0; i < slots.size(); ++i) {
        if (!slots[i].empty()) WriteProfile("RestoreRelate", "Key" + std::to_string(i + 1), slots[i], record);
    }
    const std::string option = ReadProfile("Extend", "UnSetupOption", "", input.scriptPath);
    if (!option.empty()) WriteProfile("UnSetupOption", "CheckBox", option, record);
}
