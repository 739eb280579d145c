// Owned handles of the file system API.
#pragma once

#include "services/UniqueResource.h"

#include <windows.h>

#include <optional>
#include <string>

struct FileHandleTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static void Release(Type handle) { CloseHandle(handle); }
};
using FileHandle = UniqueResource<FileHandleTraits>;

struct FindHandleTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static void Release(Type handle) { FindClose(handle); }
};
using FindHandle = UniqueResource<FindHandleTraits>;

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Empty() { return nullptr; }
    static void Release(Type handle) { CloseHandle(handle); }
};
using KernelHandle = UniqueResource<KernelHandleTraits>;

struct ModuleTraits {
    using Type = HMODULE;
    static Type Empty() { return nullptr; }
    static void Release(Type module) { FreeLibrary(module); }
};
using ModuleHandle = UniqueResource<ModuleTraits>;

// The file system calls with Shift-JIS paths. Each converts its paths to
// UTF-16 with code page 932 and calls the wide function, so that a name
// such as "ソ.txt" (whose second byte is 0x5C) or one in half-width katakana
// is found on every system, whatever its own code page. Results are those
// of the system call; GetLastError() tells why one failed.
FileHandle OpenFileHandle(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags = 0);
DWORD AttributesOf(const std::string& path);
bool SetAttributesOf(const std::string& path, DWORD attributes);
bool AttributeDataOf(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data);
bool CopyOneFile(const std::string& source, const std::string& destination);
bool MoveOneFile(const std::string& source, const std::string& destination, DWORD flags);
bool DeleteOneFile(const std::string& path);
bool MakeOneFolder(const std::string& path);
// Removes an empty folder, but never a link to a folder (a junction, a
// symbolic link or another reparse point): Wine, asked to remove such a
// link, removes the folder it leads to when that is empty. A link is
// refused with ERROR_CANT_ACCESS_FILE.
bool RemoveEmptyFolder(const std::string& path);

// True when the entry at `path` (a trailing backslash allowed) is a link or
// other reparse point itself: a junction, a symbolic link, a mount point.
// What lies below one is not the folder's own.
bool IsLink(const std::string& path);

// A fresh empty file "OVS*.tmp" made in `folder`; false when the system
// cannot make one.
bool MakeTemporaryFile(const std::string& folder, std::string& name);

// True when `path` names one entry that the system can look up by its
// attributes alone: no wildcard, no trailing backslash, no device name. A
// directory search for it would give the same entry, but opens and reads
// its folder to do so.
bool NamesOneEntry(const std::string& path);

// A directory search. The entries carry wide names; EntryName gives the
// Shift-JIS form, or nothing for a name that Shift-JIS cannot hold (such a
// name written with "?" would be a pattern naming other files, so callers
// skip those entries).
FindHandle FindFirstEntry(const std::string& pattern, WIN32_FIND_DATAW& data);
bool FindNextEntry(const FindHandle& find, WIN32_FIND_DATAW& data);
std::optional<std::string> EntryName(const WIN32_FIND_DATAW& data);
