// Owned COM interface pointers and shell memory, and COM for a thread.
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

// COM for the thread that makes this, for as long as it lives: for the
// shell-link objects of the shortcuts and the components' registration.
class ComApartment {
public:
    ComApartment() : initialized_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComApartment()
    {
        if (initialized_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialized_;
};
