// Owned handles of the file system API.
#pragma once

#include "services/UniqueResource.h"

#include <windows.h>

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
