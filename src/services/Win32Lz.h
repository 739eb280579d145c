// Owned handles of the system's LZ expansion library (lz32).
#pragma once

#include "services/UniqueResource.h"

#include <windows.h>
#include <lzexpand.h>

#include <string>
#include <vector>

// LZOpenFileA gives a handle of 0 or more, or a negative error code.
struct LzFileTraits {
    using Type = INT;
    static Type Empty() { return -1; }
    static void Release(Type handle) { LZClose(handle); }
};
using LzFile = UniqueResource<LzFileTraits>;

// Opens `path` with the OF_ style given; empty when the library refuses.
inline LzFile OpenLzFile(const std::string& path, WORD style)
{
    std::vector<char> name(path.begin(), path.end());
    name.push_back('\0');
    OFSTRUCT details{};
    const INT handle = LZOpenFileA(name.data(), &details, style);
    return handle < 0 ? LzFile() : LzFile(handle);
}
