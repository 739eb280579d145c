#include "services/Win32Registry.h"

#include "text/Unicode.h"

#include <vector>

RegKey CreateRegKey(HKEY root, const std::string& path, LONG* status)
{
    RegKey key;
    const LONG result = RegCreateKeyExW(root, WideFromShiftJis(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_READ | KEY_WRITE, nullptr, key.Receive(), nullptr);
    if (result != ERROR_SUCCESS) key.Detach();
    if (status != nullptr) *status = result;
    return key;
}

RegKey OpenRegKey(HKEY root, const std::string& path, REGSAM access)
{
    RegKey key;
    if (RegOpenKeyExW(root, WideFromShiftJis(path).c_str(), 0, access, key.Receive()) != ERROR_SUCCESS) key.Detach();
    return key;
}

bool RegKeyExists(HKEY root, const std::string& path)
{
    return OpenRegKey(root, path).Valid();
}

std::vector<std::string> SubkeyNames(HKEY key)
{
    std::vector<std::string> names;
    DWORD count = 0, longest = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr) != ERROR_SUCCESS)
        return names;
    std::vector<wchar_t> name(longest + 2);
    for (DWORD n = 0; n < count; ++n) {
        DWORD size = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(key, n, name.data(), &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) continue;
        if (const std::optional<std::string> text = ShiftJisFromWide(std::wstring(name.data(), size)))
            names.push_back(*text);
    }
    return names;
}

std::string ReadRegString(HKEY key, const std::string& name)
{
    const std::wstring wideName = WideFromShiftJis(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || size == 0) return {};
    // Room for a value stored without its terminating zero, or with an odd
    // byte count.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
    DWORD filled = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    if (RegQueryValueExW(key, wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &filled) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    return ShiftJisFromWide(std::wstring(buffer.data())).value_or(std::string());
}

std::optional<DWORD> ReadRegDword(HKEY key, const std::string& name)
{
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExW(key, WideFromShiftJis(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return std::nullopt;
    return value;
}

LONG WriteRegString(HKEY key, const std::string& name, DWORD type, const std::string& value)
{
    const std::wstring wide = WideFromShiftJis(value);
    // The size in bytes counts the terminating wide zero.
    return WriteRegBytes(key, name, type, wide.c_str(), static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}

LONG WriteRegBytes(HKEY key, const std::string& name, DWORD type, const void* data, DWORD size)
{
    return RegSetValueExW(key, WideFromShiftJis(name).c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

LONG DeleteRegValue(HKEY key, const std::string& name)
{
    return RegDeleteValueW(key, WideFromShiftJis(name).c_str());
}

LONG DeleteRegTree(HKEY root, const std::string& path)
{
    return RegDeleteTreeW(root, WideFromShiftJis(path).c_str());
}
