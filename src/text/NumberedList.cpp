#include "text/NumberedList.h"

#include "text/IniFile.h"

std::vector<std::string> ReadNumberedList(const std::string& section, const std::string& prefix,
                                          const std::string& file)
{
    std::vector<std::string> values;
    for (int n = 1;; ++n) {
        std::string value = ReadProfile(section, prefix + std::to_string(n), "", file);
        if (value.empty()) return values;
        values.push_back(std::move(value));
    }
}
