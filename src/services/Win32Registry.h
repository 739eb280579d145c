// Owned registry keys and the small reads that several parts share.
#pragma once

#include "services/UniqueResource.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

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

// The names of the key's subkeys; a name Shift-JIS cannot hold is left out.
std::vector<std::string> SubkeyNames(HKEY key);

// Key paths, value names and string values are Shift-JIS here and UTF-16
// in the registry: each call converts with code page 932 and uses the wide
// function, so that Japanese values read right in the registry editor and
// the system's lists of programs on every system.

// A string value (REG_SZ or REG_EXPAND_SZ, unexpanded); empty when missing,
// of another type, or holding a character that Shift-JIS cannot hold (such
// a text cannot be written back or compared as it is).
std::string ReadRegString(HKEY key, const std::string& name);

// A REG_DWORD value; nothing when missing or of another type.
std::optional<DWORD> ReadRegDword(HKEY key, const std::string& name);

// Writes a value; REG_SZ and REG_EXPAND_SZ are given as Shift-JIS text and
// stored as UTF-16 with their terminating zero, other types as the bytes
// given. ERROR_SUCCESS or the system's code.
LONG WriteRegString(HKEY key, const std::string& name, DWORD type, const std::string& value);
LONG WriteRegBytes(HKEY key, const std::string& name, DWORD type, const void* data, DWORD size);

LONG DeleteRegValue(HKEY key, const std::string& name);
LONG DeleteRegTree(HKEY root, const std::string& path);
