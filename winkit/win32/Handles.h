#pragma once
// The owners' traits for every kind of handle the programs hold.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include "SystemFunction.h"
#include "UniqueHandle.h"

namespace winkit {

// Processes, threads, tokens: nullptr when missing.
struct KernelTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { CloseHandle(h); }
};
// CreateFileW says INVALID_HANDLE_VALUE, not nullptr, when it fails.
struct FileTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};
struct FindTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { FindClose(h); }
};
// CreateBoundaryDescriptorW's descriptor.
struct BoundaryTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DeleteBoundaryDescriptor(h); }
};
// A private namespace: closed, not destroyed, since another process of the
// user may have it open.
struct NamespaceTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ClosePrivateNamespace(h, 0); }
};
struct HookTraits {
    using Type = HHOOK;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { UnhookWindowsHookEx(h); }
};
struct KeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { RegCloseKey(h); }
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
struct FontTraits {
    using Type = HFONT;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DeleteObject(h); }
};
// GetDC(nullptr): the screen's device context.
struct ScreenDcTraits {
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ReleaseDC(nullptr, h); }
};
// Memory Windows hands out from LocalAlloc: FormatMessage's buffers, SDDL
// texts, security descriptors.
template <typename T>
struct LocalTraits {
    using Type = T*;
    static Type Invalid() { return nullptr; }
    static void Close(Type p) { LocalFree(p); }
};
// ole32 and oleaut32 are looked up rather than imported, so that a program
// that uses them only now and then does not load them at every start; their
// memory exists only once they are loaded.
template <typename T>
struct CoTaskMemTraits {
    using Type = T*;
    static Type Invalid() { return nullptr; }
    static void Close(Type p) {
        static const auto free = SystemFunction<decltype(&CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
        if (free != nullptr) free(p);
    }
};
struct BstrTraits {
    using Type = BSTR;
    static Type Invalid() { return nullptr; }
    static void Close(Type s) {
        static const auto free = SystemFunction<decltype(&SysFreeString)>(L"oleaut32.dll", "SysFreeString");
        if (free != nullptr) free(s);
    }
};
template <typename Interface>
struct ComTraits {
    using Type = Interface*;
    static Type Invalid() { return nullptr; }
    static void Close(Type p) { p->Release(); }
};

using UniqueKernelHandle = UniqueHandle<KernelTraits>;
using UniqueFile = UniqueHandle<FileTraits>;
using UniqueFind = UniqueHandle<FindTraits>;
using UniqueHook = UniqueHandle<HookTraits>;
using UniqueBoundary = UniqueHandle<BoundaryTraits>;
using UniqueNamespace = UniqueHandle<NamespaceTraits>;
using UniqueKey = UniqueHandle<KeyTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueFont = UniqueHandle<FontTraits>;
using UniqueScreenDc = UniqueHandle<ScreenDcTraits>;
template <typename T>
using UniqueLocal = UniqueHandle<LocalTraits<T>>;
using UniqueSecurityDescriptor = UniqueLocal<void>;  // PSECURITY_DESCRIPTOR
template <typename T>
using UniqueCoTaskMem = UniqueHandle<CoTaskMemTraits<T>>;
using UniqueBstr = UniqueHandle<BstrTraits>;
template <typename Interface>
using UniqueCom = UniqueHandle<ComTraits<Interface>>;

}  // namespace winkit
