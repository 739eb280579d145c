#include "record/UninstallLists.h"

RecordListName NameOf(RecordList list)
{
    switch (list) {
    case RecordList::DeleteFolderList: return {"DeleteFolder", "Folder"};
    case RecordList::DeleteFileList: return {"DeleteFile", "File"};
    case RecordList::DeleteShortCutList: return {"DeleteShortCut", "File"};
    case RecordList::DeleteRegistryList: return {"DeleteRegistry", "Key"};
    case RecordList::AddDeleteFileList: return {"AddDeleteFile", "File"};
    }
    return {"", ""};
}

std::vector<std::string>& UninstallLists::operator[](RecordList list)
{
    switch (list) {
    case RecordList::DeleteFolderList: return deleteFolderList;
    case RecordList::DeleteFileList: return deleteFileList;
    case RecordList::DeleteShortCutList: return deleteShortCutList;
    case RecordList::DeleteRegistryList: return deleteRegistryList;
    case RecordList::AddDeleteFileList: break;
    }
    return addDeleteFileList;
}

const std::vector<std::string>& UninstallLists::operator[](RecordList list) const
{
    return const_cast<UninstallLists&>(*this)[list];
}
