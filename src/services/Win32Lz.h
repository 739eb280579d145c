// Owned handles of the system's LZ expansion library (lz32).
#pragma once

#include "services/UniqueResource.h"
#include "services/Win32Files.h"

#include <windows.h>
#include <lzexpand.h>

#include <string>

// LZInit gives a handle of 0 or more, or a negative error code.
struct LzFileTraits {
    using Type = INT;
    static Type Empty() { return -1; }
    static void Release(Type handle) { LZClose(handle); }
};
using LzFile = UniqueResource<LzFileTraits>;

// The library's file handle for a handle of the file system: the same value,
// as the system's own 32-bit file calls take it.
inline HFILE AsLzHandle(const FileHandle& file)
{
    return static_cast<HFILE>(reinterpret_cast<INT_PTR>(file.Get()));
}

// Opens `path` for expansion, shared with nobody; empty when the file
// cannot be opened or the library refuses it. The file is opened by its
// wide name and handed to LZInit: LZOpenFile goes through the system's ANSI
// code page (its OFSTRUCT holds the name as ANSI bytes), which cannot name
// a Japanese file on a system with another code page.
inline LzFile OpenLzInput(const std::string& path)
{
    FileHandle file = OpenFileHandle(path, GENERIC_READ, 0, OPEN_EXISTING);
    if (!file) return {};
    const INT handle = LZInit(AsLzHandle(file));
    if (handle < 0) return {};
    // From here LZClose closes the file as well.
    file.Detach();
    return LzFile(handle);
}
