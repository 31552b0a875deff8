#pragma once
// An in-memory registry with the behaviour the store relies on: keys and value
// names ignore case, values keep their type and raw bytes, missing keys fail
// to open, closing a key that is not open fails the test, keys with subkeys
// refuse deletion, a key opened for reading refuses writes and deletes of its
// values, one opened for writing refuses reads and enumeration, subkeys
// enumerate by name and values in the order they were first written, and
// writes can be refused. The helpers
// take HKEY_LOCAL_MACHINE paths as they are, HKEY_CURRENT_USER ones as User(path)
// and the machine's policies as MachinePolicy(path).
#include <map>
#include <string>
#include <vector>

#include "Registry.h"

namespace testing_support {

struct CaseInsensitiveLess {
    bool operator()(const std::wstring& a, const std::wstring& b) const;
};

class MemoryRegistry final : public registry::Backend {
public:
    struct Value {
        std::uint32_t type;
        std::vector<std::uint8_t> data;
        std::uint64_t written = 0;  // when it was first written: its place in the key's values
    };

    long OpenKey(registry::Root root, const std::wstring& path, bool forWriting, Key* key) override;
    long CreateKey(registry::Root root, const std::wstring& path, Key* key) override;
    long QueryValue(Key key, const std::wstring& name, std::uint32_t* type, std::uint8_t* data,
                    std::uint32_t* size) override;
    long SetValue(Key key, const std::wstring& name, std::uint32_t type, const std::uint8_t* data,
                  std::uint32_t size) override;
    long DeleteValue(Key key, const std::wstring& name) override;
    long DeleteKey(registry::Root root, const std::wstring& path) override;
    long EnumKey(Key key, std::uint32_t index, std::wstring* name) override;
    long EnumValue(Key key, std::uint32_t index, std::wstring* name) override;
    void CloseKey(Key key) override;

    // Test controls.
    void RefuseWrites(long error = winkit::kErrorAccessDenied) { m_writeError = error; }
    // As Windows does for a user without administrator rights.
    void RefuseMachineWrites() {
        m_writeError = winkit::kErrorAccessDenied;
        m_machineOnly = true;
    }
    // Windows refuses writes and removals of this value name only (a full registry, say).
    void RefuseValue(const std::wstring& name, long error = winkit::kErrorAccessDenied) {
        m_refusedValue = name;
        m_valueError = error;
    }
    // Windows refuses reads of this value name only.
    void RefuseRead(const std::wstring& name, long error = winkit::kErrorAccessDenied) {
        m_unreadValue = name;
        m_readError = error;
    }
    // Before each of the next reads with a buffer, a text value grows by one
    // character: another program writing it between the size query and the read.
    void GrowBeforeReads(int reads) { m_growths = reads; }
    // Before the next read with a buffer, the value gets this type (another
    // program replaced it between the size query and the read).
    void RetypeBeforeRead(std::uint32_t type) { m_retype = type; }
    void PutRaw(const std::wstring& path, const std::wstring& name, std::uint32_t type,
                std::vector<std::uint8_t> data);
    void PutString(const std::wstring& path, const std::wstring& name, const std::wstring& text,
                   std::uint32_t type = registry::kTypeSz);
    bool HasKey(const std::wstring& path) const;
    bool HasValue(const std::wstring& path, const std::wstring& name) const;
    const Value* Find(const std::wstring& path, const std::wstring& name) const;
    std::wstring StoredText(const std::wstring& path, const std::wstring& name) const;
    int OpenHandles() const { return static_cast<int>(m_handles.size()); }
    int Opens() const { return m_opens; }  // keys asked to be opened, found or not

private:
    using Values = std::map<std::wstring, Value, CaseInsensitiveLess>;
    std::map<std::wstring, Values, CaseInsensitiveLess> m_keys;  // full path -> values
    struct Handle {
        std::wstring path;
        bool writable;
    };
    std::map<Key, Handle> m_handles;
    Key m_nextHandle = 0x100;
    long m_writeError = winkit::kErrorSuccess;
    bool m_machineOnly = false;
    std::wstring m_refusedValue;
    long m_valueError = winkit::kErrorSuccess;
    std::wstring m_unreadValue;
    long m_readError = winkit::kErrorSuccess;
    int m_growths = 0;
    std::uint32_t m_retype = 0;
    int m_opens = 0;
    std::uint64_t m_writes = 0;
    long WriteError(const std::wstring& path) const;

    Key NewHandle(const std::wstring& path, bool writable);
    long WritableKey(Key key, const std::wstring** path) const;
    long ReadableKey(Key key, const std::wstring** path) const;
    void Put(const std::wstring& path, const std::wstring& name, std::uint32_t type, std::vector<std::uint8_t> data);
};

inline std::wstring User(const std::wstring& path) { return L"HKCU\\" + path; }

// What the programs never write themselves but the tests look for: the
// maker's key above the settings (it stays after an uninstallation) and a
// value type no reader takes.
inline constexpr wchar_t kMakerKey[] = L"software\\Varnholt";
inline constexpr std::uint32_t kTypeBinary = 3;
// HKEY_LOCAL_MACHINE in the system's own view, where policies live.
inline std::wstring MachinePolicy(const std::wstring& path) { return L"HKLM64\\" + path; }

}  // namespace testing_support
