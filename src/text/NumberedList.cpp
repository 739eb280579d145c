#include "text/NumberedList.h"

#include "script/NumberedKeys.h"
#include "text/IniFile.h"

std::vector<std::string> ReadNumberedList(const std::string& section, const std::string& prefix,
                                          const std::string& file)
{
    return NumberedKeys(ReadProfileText(file), section).List(prefix);
}
