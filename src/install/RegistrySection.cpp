#include "install/RegistrySection.h"

#include "engine/RunState.h"
#include "services/LocationTokens.h"
#include "services/RegistryKeys.h"
#include "text/IniFile.h"
#include "text/IntegerText.h"
#include "text/NumberedList.h"
#include "text/ScriptTokens.h"
#include "text/StrOp.h"

std::vector<RegistryItem> ReadRegistryItems(const std::string& scriptPath)
{
    // The script is parsed once, however many values it lists.
    const ProfileText script = ReadProfileText(scriptPath);
    std::vector<RegistryItem> items;
    int n = 0;
    for (std::string& key : ReadNumberedList("Registry", "Key", scriptPath)) {
        const std::string number = std::to_string(++n);
        items.push_back(
            {std::move(key), script.Read("Registry", "Name" + number, ""), script.Read("Registry", "Value" + number, "")});
    }
    return items;
}

RegistryValueData ParseRegistryValue(const std::string& value, const LocationTable& folders)
{
    using Kind = RegistryValueData::Kind;
    std::string text = value;
    const std::string pathData(ScriptTokens::PathData);
    const bool isPath = Contains(text, pathData);
    if (isPath) text = ReplaceToken(text, pathData, "");
    text = ExpandTokens(text, folders);
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
