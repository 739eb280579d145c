#include "install/RegistrySection.h"

#include "services/LocationTokens.h"
#include "text/IniFile.h"
#include "text/IntegerText.h"
#include "text/StrOp.h"

std::vector<RegistryItem> ReadRegistryItems(const std::string& scriptPath)
{
    std::vector<RegistryItem> items;
    for (int n = 1;; ++n) {
        const std::string number = std::to_string(n);
        std::string key = ReadProfile("Registry", "Key" + number, "", scriptPath);
        if (key.empty()) return items;
        items.push_back({std::move(key), ReadProfile("Registry", "Name" + number, "", scriptPath),
                         ReadProfile("Registry", "Value" + number, "", scriptPath)});
    }
}

namespace {

// The root-token split of registry locations, kept here until the shared one
// of the registry services is available to this part of the program.
bool HasRootToken(const std::string& location)
{
    return location.size() >= 7 && location[0] == '(' && location[6] == ')';
}

HKEY RootOfToken(const std::string& token)
{
    if (token == "(Cuser)") return HKEY_CURRENT_USER;
    if (token == "(Class)") return HKEY_CLASSES_ROOT;
    if (token == "(Local)") return HKEY_LOCAL_MACHINE;
    if (token == "(Users)") return HKEY_USERS;
    return HKEY_CURRENT_USER;
}

}  // namespace

RegistryKeyName ParseRegistryKey(const std::string& key)
{
    RegistryKeyName name;
    std::string subKey = key;
    if (HasRootToken(key)) {
        name.Root = RootOfToken(LeftStr(key, 7));
        subKey = MidStr(key, 8);
    }
    name.SubKey = RemoveDelimiter(RemoveDelimiter(subKey, "T"), "B");
    return name;
}

std::array<BYTE, 4> RegistryValueData::Bytes() const
{
    return {static_cast<BYTE>(Number), static_cast<BYTE>(Number >> 8), static_cast<BYTE>(Number >> 16),
            static_cast<BYTE>(Number >> 24)};
}

RegistryValueData ParseRegistryValue(const std::string& value)
{
    using Kind = RegistryValueData::Kind;
    std::string text = value;
    const bool isPath = Contains(text, "(Pdd)");
    if (isPath) text = ReplaceToken(text, "(Pdd)", "");
    text = ExpandLocationTokens(text);
    if (text.empty()) return {};

    const std::string type = LeftStr(text, 5);
    std::string data = MidStr(text, 6);
    // Folder tokens end in "\", which a path value does not keep.
    if (isPath) data = RemoveDelimiter(data, "B");

    if (type == "(Str)") return {Kind::String, data, 0};
    if (type == "(Exp)") return {Kind::ExpandString, data, 0};
    if (type == "(Int)" || type == "(Dwd)") {
        return {Kind::Dword, {}, static_cast<uint32_t>(TextToInteger(data).value_or(0))};
    }
    if (type == "(Bin)") {
        const std::optional<int32_t> number = TextToInteger("$" + data);
        if (!number) return {};
        return {Kind::Binary, {}, static_cast<uint32_t>(*number)};
    }
    return {Kind::String, text, 0};
}
