#pragma once
// Move-only owners: each kind's traits name its invalid value and the one call
// that gives it back, so that nothing is closed or freed by hand. Traits may
// carry what the call needs (the registry backend a key came from); empty
// ones cost nothing.
#include <utility>

namespace winkit {

template <typename Traits>
class UniqueHandle : private Traits {
public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type handle, Traits traits = Traits()) : Traits(traits), m_handle(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : Traits(other), m_handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
            Traits::operator=(other);
        }
        return *this;
    }

    Type Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != Traits::Invalid(); }
    Type Release() { return std::exchange(m_handle, Traits::Invalid()); }
    // For a function that hands out a new handle through a pointer.
    Type* Put() {
        Reset();
        return &m_handle;
    }
    void Reset(Type handle = Traits::Invalid()) {
        if (m_handle != Traits::Invalid()) Traits::Close(m_handle);
        m_handle = handle;
    }

private:
    Type m_handle = Traits::Invalid();
};

// What a scope puts right on every path out of it (a flag it set, say).
template <typename Action>
class ScopeExit {
public:
    explicit ScopeExit(Action action) : m_action(std::move(action)) {}
    ~ScopeExit() { m_action(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Action m_action;
};

}  // namespace winkit
