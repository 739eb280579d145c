// Findings about parenthesised words in the values whose location tokens
// the installer replaces: a word that is no location token stays in the
// path as written.
#include "CheckRules.h"

#include "ScriptModel.h"
#include "SjisText.h"

#include <functional>

namespace {

constexpr size_t kLongestWord = 8;

bool IsWordChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

struct Token {
    size_t at;  // 0-based
    std::string text;
};

// Every "(" word ")" of one to eight letters or "_": the shape of a token.
// Parentheses around digits or blanks, as in "Program Files (x86)", are
// taken for what they are.
std::vector<Token> TokenShapes(const std::string& value)
{
    std::vector<Token> tokens;
    for (size_t i = 0; i < value.size(); i += CharLengthAt(value, i)) {
        if (value[i] != '(') continue;
        size_t end = i + 1;
        while (end < value.size() && IsWordChar(value[end])) ++end;
        const size_t length = end - i - 1;
        if (end < value.size() && value[end] == ')' && length >= 1 && length <= kLongestWord)
            tokens.push_back({i, value.substr(i, length + 2)});
    }
    return tokens;
}

using Exempt = std::function<bool(const Token&)>;

void CheckValue(const std::string& section, const std::string& key, const std::string& value, const Exempt& exempt,
                Findings& findings)
{
    for (const auto& token : TokenShapes(value)) {
        if (IsLocationToken(token.text) || (exempt && exempt(token))) continue;
        std::string text = Quoted(token.text) + " is not a location token: the installer leaves it in the path as written";
        if (SameText(token.text, kDiskChange))
            text = Quoted(token.text) + " marks a disk change only at the very start of the value: here the "
                                        "installer leaves it in the path as written";
        findings.push_back({section, key, text});
    }
}

void CheckList(const Profile& script, const std::string& section, const std::string& prefix, Findings& findings,
               const Exempt& exempt = nullptr)
{
    const auto values = ReadList(script, section, prefix);
    for (size_t i = 0; i < values.size(); ++i)
        CheckValue(section, prefix + std::to_string(i + 1), values[i], exempt, findings);
}

// Keys that belong to the entries of a list governed by another key.
void CheckCompanions(const Profile& script, const std::string& section, const std::string& governing,
                     const std::string& prefix, Findings& findings)
{
    const size_t count = ReadList(script, section, governing).size();
    for (size_t n = 1; n <= count; ++n) {
        const std::string key = prefix + std::to_string(n);
        CheckValue(section, key, script.Read(section, key), nullptr, findings);
    }
}

void CheckRegistryValues(const Profile& script, Findings& findings)
{
    const size_t count = ReadList(script, "Registry", "Key").size();
    for (size_t n = 1; n <= count; ++n) {
        const std::string key = "Value" + std::to_string(n);
        // The type token at the start is judged on its own (CheckRegistry).
        const Exempt typeToken = [](const Token& token) {
            if (token.at != 0) return false;
            for (const auto& type : RegistryTypeTokens())
                if (SameText(type, token.text)) return true;
            return false;
        };
        CheckValue("Registry", key, WithoutPathMarks(script.Read("Registry", key)), typeToken, findings);
    }
}

}  // namespace

void CheckUnknownTokens(const Profile& script, Findings& findings)
{
    // A disk-change mark at the start is judged by CheckCopyFiles.
    const Exempt leadingDiskChange = [](const Token& token) {
        return token.at == 0 && SameText(token.text, kDiskChange);
    };
    CheckList(script, "CopyFile", "File", findings, leadingDiskChange);
    CheckList(script, "MakeFolder", "Folder", findings);
    CheckList(script, "ShortCut", "Make", findings);
    CheckCompanions(script, "ShortCut", "Make", "Name", findings);
    CheckRegistryValues(script, findings);
    CheckList(script, "IniFile", "Data", findings);
    CheckList(script, "AddDeleteFile", "File", findings);
    for (int n = 1; n <= kRelatePairs; ++n) {
        const std::string key = "File" + std::to_string(n);
        CheckValue("Relate", key, script.Read("Relate", key), nullptr, findings);
    }
    CheckValue("ExecuteFile", "File", script.Read("ExecuteFile", "File"), nullptr, findings);
    CheckValue("DefaultFolder", "Folder", script.Read("DefaultFolder", "Folder"), nullptr, findings);
}
