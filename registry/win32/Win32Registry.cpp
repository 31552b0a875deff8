#include <windows.h>

#include "Registry.h"

namespace registry {

namespace {

// Both builds use the 32-bit view of HKEY_LOCAL_MACHINE so that the x64 build
// sees the same values as the i686 deliverable does on 64-bit Windows
// (Wow6432Node). HKEY_CURRENT_USER\Software has one view for both since
// Windows 7, so it gets no flag.
// Group Policy writes HKEY_LOCAL_MACHINE\Software\Policies in the system's
// own view; KEY_WOW64_64KEY reads it there also from the i686 build (and
// means nothing on 32-bit Windows).
REGSAM View(Root root) {
    switch (root) {
    case Root::LocalMachine:
        return KEY_WOW64_32KEY;
    case Root::MachinePolicy:
        return KEY_WOW64_64KEY;
    case Root::CurrentUser:
        break;
    }
    return 0;
}

HKEY RootHandle(Root root) { return root == Root::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

HKEY ToHandle(Backend::Key key) { return reinterpret_cast<HKEY>(key); }

class Win32Backend final : public Backend {
public:
    long OpenKey(Root root, const std::wstring& path, bool forWriting, Key* key) override {
        HKEY handle = nullptr;
        const REGSAM access = (forWriting ? KEY_SET_VALUE : KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS) | View(root);
        const LONG result = RegOpenKeyExW(RootHandle(root), path.c_str(), 0, access, &handle);
        *key = result == ERROR_SUCCESS ? reinterpret_cast<Key>(handle) : 0;
        return result;
    }
    long CreateKey(Root root, const std::wstring& path, Key* key) override {
        HKEY handle = nullptr;
        const LONG result = RegCreateKeyExW(RootHandle(root), path.c_str(), 0, nullptr, 0,
                                            KEY_SET_VALUE | View(root), nullptr, &handle, nullptr);
        *key = result == ERROR_SUCCESS ? reinterpret_cast<Key>(handle) : 0;
        return result;
    }
    long QueryValue(Key key, const std::wstring& name, std::uint32_t* type, std::uint8_t* data,
                    std::uint32_t* size) override {
        DWORD winType = 0;
        DWORD winSize = *size;
        const LONG result = RegQueryValueExW(ToHandle(key), name.c_str(), nullptr, &winType, data, &winSize);
        *type = winType;
        *size = winSize;
        return result;
    }
    long SetValue(Key key, const std::wstring& name, std::uint32_t type, const std::uint8_t* data,
                  std::uint32_t size) override {
        return RegSetValueExW(ToHandle(key), name.c_str(), 0, type, data, size);
    }
    long DeleteValue(Key key, const std::wstring& name) override {
        return RegDeleteValueW(ToHandle(key), name.c_str());
    }
    long EnumKey(Key key, std::uint32_t index, std::wstring* name) override {
        wchar_t buffer[256];  // the longest key name Windows allows, and its NUL
        DWORD length = ARRAYSIZE(buffer);
        const LONG result =
            RegEnumKeyExW(ToHandle(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_SUCCESS) name->assign(buffer, length);
        return result;
    }
    long EnumValue(Key key, std::uint32_t index, std::wstring* name) override {
        std::wstring buffer(16384, L'\0');  // the longest value name Windows allows, and its NUL
        DWORD length = static_cast<DWORD>(buffer.size());
        const LONG result =
            RegEnumValueW(ToHandle(key), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_SUCCESS) name->assign(buffer.data(), length);
        return result;
    }
    long DeleteKey(Root root, const std::wstring& path) override {
        return RegDeleteKeyExW(RootHandle(root), path.c_str(), View(root), 0);
    }
    void CloseKey(Key key) override { RegCloseKey(ToHandle(key)); }
};

}  // namespace

Backend& SystemBackend() {
    static Win32Backend backend;
    return backend;
}

}  // namespace registry
