#include "services/Win32Registry.h"

#include <vector>

RegKey CreateRegKey(HKEY root, const std::string& path, LONG* status)
{
    RegKey key;
    const LONG result = RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                                        nullptr, key.Receive(), nullptr);
    if (result != ERROR_SUCCESS) key.Detach();
    if (status != nullptr) *status = result;
    return key;
}

RegKey OpenRegKey(HKEY root, const std::string& path, REGSAM access)
{
    RegKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, access, key.Receive()) != ERROR_SUCCESS) key.Detach();
    return key;
}

bool RegKeyExists(HKEY root, const std::string& path)
{
    return OpenRegKey(root, path).Valid();
}

std::string ReadRegString(HKEY key, const std::string& name)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || size == 0) return {};
    std::vector<char> buffer(size + 1, '\0');
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
        ERROR_SUCCESS)
        return {};
    return std::string(buffer.data());
}
