#include "text/NumberedList.h"

#include "text/IniFile.h"
#include "text/StrOp.h"

#include <unordered_map>
#include <vector>

namespace {

bool IsProfileBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

}  // namespace

std::string ProfileValueAsRead(const std::string& written)
{
    // Blanks and quotes are single bytes that never occur as the second
    // byte of a Shift-JIS character, so the ends can be trimmed bytewise.
    size_t first = 0;
    size_t end = written.size();
    while (first < end && IsProfileBlank(written[first])) ++first;
    while (end > first && IsProfileBlank(written[end - 1])) --end;
    std::string value = written.substr(first, end - first);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

std::vector<std::string> ReadNumberedList(const std::string& section, const std::string& prefix,
                                          const std::string& file)
{
    // Reading key by key would read the file once per key, which grows long
    // for a record of a thousand entries. The section's lines are looked up
    // here as a read of each key would: key names case-blind, the first of
    // equal names winning, a key without "=" holding nothing.
    std::unordered_map<std::string, std::string> values;
    for (const std::string& line : ReadProfileSection(section, file)) {
        const size_t equals = line.find('=');
        const std::string key = AsciiUpper(line.substr(0, equals));
        values.emplace(key, equals == std::string::npos ? std::string() : ProfileValueAsRead(line.substr(equals + 1)));
    }

    std::vector<std::string> list;
    const std::string upperPrefix = AsciiUpper(prefix);
    for (int n = 1;; ++n) {
        const auto found = values.find(upperPrefix + std::to_string(n));
        if (found == values.end() || found->second.empty()) return list;
        list.push_back(found->second);
    }
}
