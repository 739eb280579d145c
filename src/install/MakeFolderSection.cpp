#include "install/MakeFolderSection.h"

#include "engine/RunState.h"
#include "services/LocationTokens.h"
#include "text/NumberedList.h"
#include "text/StrOp.h"

std::vector<std::string> ReadMakeFolderItems(const std::string& scriptPath)
{
    return ReadNumberedList("MakeFolder", "Folder", scriptPath);
}

std::string ParseMakeFolder(const std::string& value, const LocationTable& folders)
{
    return ExpandTokens(WithTrailingBackslash(value), folders);
}
