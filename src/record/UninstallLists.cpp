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
    case RecordList::DeleteFolderList: return DeleteFolderList;
    case RecordList::DeleteFileList: return DeleteFileList;
    case RecordList::DeleteShortCutList: return DeleteShortCutList;
    case RecordList::DeleteRegistryList: return DeleteRegistryList;
    case RecordList::AddDeleteFileList: break;
    }
    return AddDeleteFileList;
}

const std::vector<std::string>& UninstallLists::operator[](RecordList list) const
{
    return const_cast<UninstallLists&>(*this)[list];
}
