#include "script/MakeFolderSection.h"

#include "script/PathParts.h"

std::string ParseMakeFolder(const std::string& value, const LocationTable& folders)
{
    return ExpandTokens(WithTrailingBackslash(value), folders);
}
