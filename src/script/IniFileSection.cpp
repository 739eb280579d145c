#include "script/IniFileSection.h"

#include "script/ValueFields.h"

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
