// What an install gathers for the uninstall record: five ordered lists of
// items (paths or registry keys, optionally followed by a comma and switches)
// and the twenty association restore slots.
#pragma once

#include <array>
#include <string>
#include <vector>

enum class RecordList { DeleteFolderList, DeleteFileList, DeleteShortCutList, DeleteRegistryList, AddDeleteFileList };

constexpr std::array<RecordList, 5> AllRecordLists = {RecordList::DeleteFolderList, RecordList::DeleteFileList,
                                                       RecordList::DeleteShortCutList, RecordList::DeleteRegistryList,
                                                       RecordList::AddDeleteFileList};

// The record section of a list and the prefix of its numbered keys.
struct RecordListName {
    const char* section;
    const char* prefix;
};
RecordListName NameOf(RecordList list);

// Items are appended in the order the install meets them and written in that
// order; duplicates are kept here and merged when the record is written.
struct UninstallLists {
    std::vector<std::string> deleteFolderList;
    std::vector<std::string> deleteFileList;
    std::vector<std::string> deleteShortCutList;
    std::vector<std::string> deleteRegistryList;
    std::vector<std::string> addDeleteFileList;

    std::vector<std::string>& operator[](RecordList list);
    const std::vector<std::string>& operator[](RecordList list) const;
};

// Each filled slot is an extension, a comma and the file type that the
// extension had before the first install that associated it (possibly empty).
constexpr int RestoreSlotCount = 20;
using RestoreSlots = std::array<std::string, RestoreSlotCount>;
