// The stub's own program file, mapped read-only: the package that the stub
// is the front of. Mapping instead of reading keeps a large payload out of
// the heap and lets the checks and the unpacking walk the same bytes.
#pragma once

#include "services/Win32Files.h"

#include <windows.h>

#include <cstdint>

struct MappedViewTraits {
    using Type = const void*;
    static Type Empty() { return nullptr; }
    static void Release(Type view) { UnmapViewOfFile(view); }
};
using MappedView = UniqueResource<MappedViewTraits>;

class OwnImage {
public:
    // False when the file cannot be found, opened or mapped.
    bool Open();

    const uint8_t* Bytes() const { return static_cast<const uint8_t*>(view_.Get()); }
    uint64_t Size() const { return size_; }

private:
    FileHandle file_;
    KernelHandle mapping_;
    MappedView view_;
    uint64_t size_ = 0;
};
