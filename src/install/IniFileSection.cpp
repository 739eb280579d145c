#include "install/IniFileSection.h"

#include "engine/RunState.h"
#include "services/LocationTokens.h"
#include "text/NumberedList.h"
#include "text/ValueFields.h"

std::vector<std::string> ReadIniFileItems(const std::string& scriptPath)
{
    return ReadNumberedList("IniFile", "Data", scriptPath);
}

IniFileEntry ParseIniFileEntry(const std::string& data, const LocationTable& folders)
{
    IniFileEntry entry;
    std::string rest = ExpandTokens(data, folders);
    entry.section = TakeLeadingField(rest);
    entry.key = TakeLeadingField(rest);
    entry.value = TakeLeadingField(rest);
    entry.file = rest;
    return entry;
}
