// Owned registry keys and the small reads that several parts share.
#pragma once

#include "services/UniqueResource.h"

#include <windows.h>

#include <string>

struct RegKeyTraits {
    using Type = HKEY;
    static Type Empty() { return nullptr; }
    static void Release(Type key) { RegCloseKey(key); }
};
using RegKey = UniqueResource<RegKeyTraits>;

// Opens `path` below `root` for reading and writing, creating what is missing.
RegKey CreateRegKey(HKEY root, const std::string& path, LONG* status = nullptr);

// Opens an existing key without creating it; empty when it does not exist.
RegKey OpenRegKey(HKEY root, const std::string& path, REGSAM access = KEY_READ);

bool RegKeyExists(HKEY root, const std::string& path);

// A string value (REG_SZ or REG_EXPAND_SZ, unexpanded); empty when missing.
std::string ReadRegString(HKEY key, const std::string& name);
