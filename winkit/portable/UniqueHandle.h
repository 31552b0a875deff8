#pragma once
// Move-only owners: each kind's traits name its invalid value and the one call
// that gives it back (with what the call needs, such as a registry backend).
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
struct ScopeExit {
    Action action;
    ~ScopeExit() { action(); }
};
template <typename Action>
ScopeExit(Action) -> ScopeExit<Action>;

}  // namespace winkit
