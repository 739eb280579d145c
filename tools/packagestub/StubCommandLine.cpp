#include "StubCommandLine.h"

#include "script/RunSwitches.h"

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

}  // namespace

std::wstring ArgumentsAfterProgram(const std::wstring& commandLine)
{
    size_t at = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const size_t close = commandLine.find(L'"', 1);
        at = close == std::wstring::npos ? commandLine.size() : close + 1;
    } else {
        while (at < commandLine.size() && !IsBlank(commandLine[at])) ++at;
    }
    while (at < commandLine.size() && IsBlank(commandLine[at])) ++at;
    return commandLine.substr(at);
}

bool AsksForSilence(const std::wstring& arguments)
{
    // Read as SETUP.EXE reads its switches, after a name of the program,
    // which that reading passes over. A character beyond ASCII belongs to
    // no switch's name; it becomes DEL, neither a blank nor a quote.
    std::string line = "ORVSTUB.EXE ";
    for (const wchar_t c : arguments) line += c < 0x80 ? static_cast<char>(c) : '\x7F';
    return ParseCommandLine(line).Unattended();
}
