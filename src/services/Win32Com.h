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
// shell-link objects of the shortcuts, the components' registration and the
// shell's file operations. Started at once (Now), or at the first Need() on
// this thread (AtFirstNeed): starting COM loads the window libraries, which
// a run that only copies files does without.
class ComApartment {
public:
    enum class Start { Now, AtFirstNeed };
    explicit ComApartment(Start start = Start::Now);
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // Before a call that needs COM: starts the apartment that waits for its
    // first need on this thread, if one does. Nothing otherwise (an apartment
    // started at once, or none at all).
    static void Need();
    // Whether this object has started COM.
    bool Started() const { return initialized_; }

private:
    void Begin();

    bool initialized_ = false;
    ComApartment* outer_ = nullptr;  // the waiting apartment this one hides
    bool waits_ = false;
};
