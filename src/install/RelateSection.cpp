#include "install/RelateSection.h"

#include "engine/RunState.h"
#include "services/LocationTokens.h"
#include "text/IniFile.h"
#include "text/StrOp.h"
#include "text/ValueFields.h"

std::vector<RelateRow> ReadRelateTable(const std::string& scriptPath)
{
    std::vector<RelateRow> rows;
    for (int n = 1; n <= MaxRelateRows; ++n) {
        const std::string number = std::to_string(n);
        std::string name = ReadProfile("Relate", "Name" + number, "", scriptPath);
        if (name.empty()) continue;
        std::string file = ReadProfile("Relate", "File" + number, "", scriptPath);
        if (file.empty()) continue;
        rows.push_back({std::move(name), std::move(file)});
    }
    return rows;
}

RelateName ParseRelateName(const std::string& name)
{
    const SplitText parts = SplitAtFirst(name, ",");
    if (!parts.Found) return {name, name + " File"};
    return {parts.Before, parts.After};
}

RelateFile ParseRelateFile(const std::string& file, const LocationTable& folders)
{
    RelateFile result;
    std::string rest = ExpandTokens(file, folders);
    result.Verb = TakeLeadingField(rest);
    result.Program = TakeLeadingField(rest);
    // Every further comma-terminated field is an argument; what follows the
    // last comma is the icon index.
    while (TokenPos(",", rest) != 0) {
        std::string argument = TakeLeadingField(rest);
        if (!argument.empty()) result.Arguments.push_back(std::move(argument));
    }
    result.IconIndex = rest;

    result.Command = Contains(result.Program, " ") ? "\"" + result.Program + "\"" : result.Program;
    for (const std::string& argument : result.Arguments) result.Command += " " + argument;
    result.DefaultIcon = result.Program + "," + result.IconIndex;
    return result;
}
