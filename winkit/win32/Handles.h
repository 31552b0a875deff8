#pragma once
// Move-only owners for the Win32 handles the programs keep.
#include <windows.h>

#include <utility>

namespace winkit {

template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type handle) : m_handle(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
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

struct IconTraits {
    using Type = HICON;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DestroyIcon(h); }
};
struct MenuTraits {
    using Type = HMENU;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DestroyMenu(h); }
};
struct KernelTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { CloseHandle(h); }
};
struct HookTraits {
    using Type = HHOOK;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { UnhookWindowsHookEx(h); }
};
struct FontTraits {
    using Type = HFONT;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DeleteObject(h); }
};

// Memory COM hands out (CoTaskMemAlloc). ole32 is looked up, not imported,
// so that a program that needs it now and then does not load it at start.
template <typename T>
struct CoTaskMemTraits {
    using Type = T*;
    static Type Invalid() { return nullptr; }
    static void Close(Type p) {
        using FreeFn = void(WINAPI*)(void*);
        static const auto free = reinterpret_cast<FreeFn>(
            reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"ole32.dll"), "CoTaskMemFree")));
        if (free != nullptr) free(p);
    }
};

template <typename Interface>
struct ComTraits {
    using Type = Interface*;
    static Type Invalid() { return nullptr; }
    static void Close(Type p) { p->Release(); }
};

using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueKernelHandle = UniqueHandle<KernelTraits>;
using UniqueFont = UniqueHandle<FontTraits>;
using UniqueHook = UniqueHandle<HookTraits>;
template <typename T>
using UniqueCoTaskMem = UniqueHandle<CoTaskMemTraits<T>>;
template <typename Interface>
using UniqueCom = UniqueHandle<ComTraits<Interface>>;

}  // namespace winkit
