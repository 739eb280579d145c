#include "script/RelateSection.h"

#include "script/TextCase.h"
#include "script/ValueFields.h"

RelateName ParseRelateName(const std::string& name)
{
    const SplitText parts = SplitAtFirst(name, ",");
    if (!parts.found) return {name, name + " File"};
    return {parts.before, parts.after};
}

RelateFile ParseRelateFile(const std::string& file, const LocationTable& folders)
{
    RelateFile result;
    std::string rest = ExpandTokens(file, folders);
    result.verb = TakeLeadingField(rest);
    result.program = TakeLeadingField(rest);
    // Every further comma-terminated field is an argument; what follows the
    // last comma is the icon index.
    while (TokenPos(",", rest) != 0) {
        std::string argument = TakeLeadingField(rest);
        if (!argument.empty()) result.arguments.push_back(std::move(argument));
    }
    result.iconIndex = rest;

    result.command = Contains(result.program, " ") ? "\"" + result.program + "\"" : result.program;
    for (const std::string& argument : result.arguments) result.command += " " + argument;
    result.defaultIcon = result.program + "," + result.iconIndex;
    return result;
}
