#include "script/RegistrySection.h"

#include "script/IntegerText.h"
#include "script/PathParts.h"
#include "script/ScriptTokens.h"
#include "script/TextCase.h"
#include "script/TextParts.h"

namespace {

constexpr int TokenLength = 7;

bool OpensToken(const std::string& text)
{
    return !text.empty() && text[0] == '(';
}

// ")" is a single-byte character: it is never the second byte of one.
bool ClosesToken(const std::string& text)
{
    return text.size() >= TokenLength && text[TokenLength - 1] == ')';
}

RegistryLocation CutAfterToken(const std::string& text)
{
    return {LeftStr(text, TokenLength), MidStr(text, TokenLength + 1)};
}

}  // namespace

RegistryLocation SplitRegistryLocation(const std::string& location)
{
    if (!OpensToken(location) || !ClosesToken(location)) return {std::string(ScriptTokens::CurrentUser), location};
    return CutAfterToken(location);
}

bool HasRootTokenShape(const std::string& key)
{
    return OpensToken(key) || ClosesToken(key);
}

RegistryLocation ParseScriptRegistryKey(const std::string& key)
{
    const RegistryLocation location = HasRootTokenShape(key)
                                          ? CutAfterToken(key)
                                          : RegistryLocation{std::string(ScriptTokens::CurrentUser), key};
    return {location.rootToken, WithoutTrailingBackslash(WithoutLeadingBackslash(location.keyPath))};
}

std::string WithoutPathMarks(const std::string& value)
{
    return ReplaceToken(value, std::string(ScriptTokens::PathData), "");
}

RegistryValueData ParseRegistryValue(const std::string& value, const LocationTable& folders)
{
    using Kind = RegistryValueData::Kind;
    const bool isPath = Contains(value, std::string(ScriptTokens::PathData));
    const std::string text = ExpandTokens(isPath ? WithoutPathMarks(value) : value, folders);
    if (text.empty()) return {};

    const std::string type = LeftStr(text, 5);
    std::string data = MidStr(text, 6);
    // Folder tokens end in "\", which a path value does not keep.
    if (isPath) data = WithoutTrailingBackslash(data);

    if (type == ScriptTokens::String) return {Kind::String, data, 0};
    if (type == ScriptTokens::ExpandString) return {Kind::ExpandString, data, 0};
    if (type == ScriptTokens::Integer || type == ScriptTokens::Dword) {
        return {Kind::Dword, {}, static_cast<uint32_t>(TextToInteger(data).value_or(0))};
    }
    if (type == ScriptTokens::Binary) {
        const std::optional<int32_t> number = TextToInteger("$" + data);
        if (!number) return {};
        return {Kind::Binary, {}, static_cast<uint32_t>(*number)};
    }
    return {Kind::String, text, 0};
}
