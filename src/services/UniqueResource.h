// Ownership of one Windows resource: released exactly once, never copied,
// moved only explicitly. Each kind of resource supplies its traits: its type,
// its empty value and how it is released.
#pragma once

#include <utility>

template <typename Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() = default;
    explicit UniqueResource(Type value) : value_(value) {}
    ~UniqueResource() { Reset(); }

    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.Detach()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept
    {
        if (this != &other) Reset(other.Detach());
        return *this;
    }

    Type Get() const { return value_; }
    bool Valid() const { return value_ != Traits::Empty(); }
    explicit operator bool() const { return Valid(); }

    // Gives up ownership without releasing.
    Type Detach() { return std::exchange(value_, Traits::Empty()); }

    void Reset(Type value = Traits::Empty())
    {
        const Type old = std::exchange(value_, value);
        if (old != Traits::Empty()) Traits::Release(old);
    }

    // For calls that return the resource through an out-parameter.
    Type* Receive()
    {
        Reset();
        return &value_;
    }

private:
    Type value_ = Traits::Empty();
};
