#include "install/UninstallOnlySections.h"

#include "engine/RunState.h"
#include "services/LocationTokens.h"
#include "text/NumberedList.h"

std::vector<std::string> ReadDeleteRegistryKeys(const std::string& scriptPath)
{
    return ReadNumberedList("DeleteRegistry", "Key", scriptPath);
}

std::vector<std::string> ReadAddDeleteFiles(const std::string& scriptPath, const LocationTable& folders)
{
    std::vector<std::string> files = ReadNumberedList("AddDeleteFile", "File", scriptPath);
    for (std::string& file : files) file = ExpandTokens(file, folders);
    return files;
}
