#include "support/ScratchRegistry.h"

#include "services/SharedComponents.h"
#include "services/Win32Registry.h"

#include <stdexcept>

ScratchKey::ScratchKey(HKEY root, const std::string& purpose) : root_(root)
{
    static int counter = 0;
    path_ = "Software\\OrvaneSetupTests\\" + purpose + "-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter);
}

ScratchKey::~ScratchKey()
{
    RegDeleteTreeA(root_, path_.c_str());
}

bool KeyExists(HKEY root, const std::string& path)
{
    return RegKeyExists(root, path);
}

bool MakeKey(HKEY root, const std::string& path)
{
    return CreateRegKey(root, path).Valid();
}

bool MakeVolatileKey(HKEY root, const std::string& path)
{
    RegKey key;
    return RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                           key.Receive(), nullptr) == ERROR_SUCCESS;
}

std::optional<StoredValue> ReadStoredValue(HKEY root, const std::string& path, const std::string& name)
{
    const RegKey key = OpenRegKey(root, path);
    if (!key) return std::nullopt;
    StoredValue value;
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<char> buffer(size + 1);
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &value.type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.assign(buffer.data(), size);
    return value;
}

bool StoreValue(HKEY root, const std::string& path, const std::string& name, DWORD type, const std::string& bytes)
{
    const RegKey key = CreateRegKey(root, path);
    return key && RegSetValueExA(key.Get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

std::string StoredText(HKEY root, const std::string& path, const std::string& name)
{
    const std::optional<StoredValue> value = ReadStoredValue(root, path, name);
    if (!value || value->type != REG_SZ) return "<none>";
    return value->bytes.substr(0, value->bytes.find('\0'));
}

ScratchExtension::ScratchExtension()
{
    static int counter = 0;
    name_ = "ov" + std::to_string(GetCurrentProcessId()) + "x" + std::to_string(++counter);
    Remove();
}

ScratchExtension::~ScratchExtension()
{
    Remove();
}

void ScratchExtension::Remove() const
{
    for (const std::string& key : {Key(), FileType()}) {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, key.c_str());
        RegDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str());
    }
}

ScratchSharedCounts::~ScratchSharedCounts()
{
    for (const std::string& path : paths_) RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, SharedDllsKey, path.c_str());
}

const std::string& ScratchSharedCounts::Watch(const std::string& path)
{
    return paths_.emplace_back(path);
}

void ScratchSharedCounts::Set(const std::string& path, DWORD count)
{
    Watch(path);
    const std::string bytes(reinterpret_cast<const char*>(&count), sizeof count);
    if (!StoreValue(HKEY_LOCAL_MACHINE, SharedDllsKey, path, REG_DWORD, bytes))
        throw std::runtime_error("cannot set the shared count of " + path);
}

std::optional<DWORD> ScratchSharedCounts::Stored(const std::string& path)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, SharedDllsKey, path.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return value;
}
