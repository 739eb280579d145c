// Owned COM interface pointers and shell memory.
#pragma once

#include "services/UniqueResource.h"

#include <objbase.h>

template <typename Interface>
struct ComTraits {
    using Type = Interface*;
    static Type Empty() { return nullptr; }
    static void Release(Type pointer) { pointer->Release(); }
};
template <typename Interface>
using ComPtr = UniqueResource<ComTraits<Interface>>;

// Memory that the shell hands out with the COM task allocator.
struct TaskMemTraits {
    using Type = void*;
    static Type Empty() { return nullptr; }
    static void Release(Type memory) { CoTaskMemFree(memory); }
};
using TaskMem = UniqueResource<TaskMemTraits>;
