#include "StubCommandLine.h"

#include <windows.h>

#include <vector>

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

// The words of a command line as SETUP.EXE reads its switches: split at
// blanks and control characters outside double quotes, the quotes
// themselves dropped, so that /DIR="C:\A /S" is one word and "/S" is /S.
std::vector<std::wstring> Words(const std::wstring& text)
{
    std::vector<std::wstring> words;
    std::wstring word;
    bool quoted = false;
    for (const wchar_t c : text) {
        if (c == L'"') {
            quoted = !quoted;
            continue;
        }
        if (c <= L' ' && !quoted) {
            if (!word.empty()) words.push_back(std::move(word));
            word.clear();
            continue;
        }
        word += c;
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

bool SameSwitch(const std::wstring& word, const wchar_t* name)
{
    return CompareStringOrdinal(word.c_str(), -1, name, -1, TRUE) == CSTR_EQUAL;
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
    for (const std::wstring& word : Words(arguments))
        if (SameSwitch(word, L"/SILENT") || SameSwitch(word, L"/VERYSILENT") || SameSwitch(word, L"/S")) return true;
    return false;
}
