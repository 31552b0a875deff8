#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "UniqueHandle.h"
#include "Win32Result.h"

namespace registry {

inline constexpr std::uint32_t kTypeSz = 1;
inline constexpr std::uint32_t kTypeExpandSz = 2;
inline constexpr std::uint32_t kTypeDword = 4;

// The machine's values (HKEY_LOCAL_MACHINE in the 32-bit view, the installer's
// defaults), the signed-in user's own (HKEY_CURRENT_USER), and the machine's
// policies (HKEY_LOCAL_MACHINE in the system's own view, where Group Policy
// writes them).
enum class Root { LocalMachine, CurrentUser, MachinePolicy };

// One place a value may be stored: a key under a root.
struct Place {
    Root root;
    const wchar_t* key;
};

// The registry primitives the store is built on. The Win32 backend forwards to
// advapi32; tests use an in-memory one that behaves the same way.
class Backend {
public:
    using Key = std::uintptr_t;  // 0 = no key
    virtual ~Backend() = default;
    virtual long OpenKey(Root root, const std::wstring& path, bool forWriting, Key* key) = 0;
    virtual long CreateKey(Root root, const std::wstring& path, Key* key) = 0;
    // Same contract as RegQueryValueExW: data may be null to ask for the size;
    // a buffer that is too small yields kErrorMoreData and the needed size.
    virtual long QueryValue(Key key, const std::wstring& name, std::uint32_t* type,
                            std::uint8_t* data, std::uint32_t* size) = 0;
    virtual long SetValue(Key key, const std::wstring& name, std::uint32_t type,
                          const std::uint8_t* data, std::uint32_t size) = 0;
    virtual long DeleteValue(Key key, const std::wstring& name) = 0;
    // Same contract as RegEnumKeyExW and RegEnumValueW: the name of the
    // index-th subkey or value, kErrorNoMoreItems past the last. Only a key
    // opened for reading may be enumerated.
    virtual long EnumKey(Key key, std::uint32_t index, std::wstring* name) = 0;
    virtual long EnumValue(Key key, std::uint32_t index, std::wstring* name) = 0;
    // Deletes only the last key of the path, and only when it has no subkeys.
    virtual long DeleteKey(Root root, const std::wstring& path) = 0;
    virtual void CloseKey(Key key) = 0;
};

// A key opened through a backend, closed through it on every path out.
struct BackendKeyTraits {
    using Type = Backend::Key;
    static Type Invalid() { return 0; }
    void Close(Type key) const { backend->CloseKey(key); }
    Backend* backend = nullptr;
};
using OpenedKey = winkit::UniqueHandle<BackendKeyTraits>;
inline OpenedKey KeyOf(Backend& backend) { return OpenedKey(0, BackendKeyTraits{&backend}); }

// A value's type and bytes as stored, through an open key. Most values are
// short: one call reads them (each call is a trip to the registry's server,
// and the launcher reads dozens at start); a longer one says its size, and
// may grow again before the next call: the read asks a few times, then gives
// kErrorMoreData. The bytes are the value's only when it gives kErrorSuccess.
long ReadValue(Backend& backend, Backend::Key openKey, const std::wstring& valueName, std::uint32_t* type,
               std::vector<std::uint8_t>* data);

// Outcome of a write: success, or the Win32 error that refused it.
using Status = winkit::Win32Result;

// Readers turn every failure into "nothing" (REG_SZ and REG_EXPAND_SZ are
// text, as stored; other types are nothing); writers report what refused them.
std::optional<std::wstring> GetString(Backend& backend, Root root, const std::wstring& subKey,
                                      const std::wstring& valueName);
Status SaveString(Backend& backend, Root root, const std::wstring& subKey,
                  const std::wstring& valueName, const std::wstring& value);
// A REG_DWORD value, for the flags Windows reads from an uninstall entry.
Status SaveDword(Backend& backend, Root root, const std::wstring& subKey, const std::wstring& valueName,
                 std::uint32_t value);
Status DeleteValue(Backend& backend, Root root, const std::wstring& subKey,
                   const std::wstring& valueName);
Status DeleteKey(Backend& backend, Root root, const std::wstring& subKey);

// Several values of one key, read through one open handle: each one's text,
// or nothing (as GetString).
std::vector<std::optional<std::wstring>> GetStrings(Backend& backend, Root root, const std::wstring& subKey,
                                                    const std::vector<const wchar_t*>& valueNames);

// The names of a key's subkeys, in the registry's order (by name); none when
// the key cannot be opened.
std::vector<std::wstring> SubKeyNames(Backend& backend, Root root, const std::wstring& subKey);

// A key's text values, each with its name, in the registry's order (the
// order they were written in), read through one open handle; values of other
// types are left out.
struct NamedText {
    std::wstring name;
    std::wstring text;
};
std::vector<NamedText> StringValues(Backend& backend, Root root, const std::wstring& subKey);

// The text of the first place, in order, that holds the value as a text;
// nothing when none does.
std::optional<std::wstring> LookUpString(Backend& backend, const Place* first, const Place* last,
                                         const std::wstring& valueName);

// "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER", for messages.
const wchar_t* RootName(Root root);

// The backend of the running program (advapi32 on Windows).
Backend& SystemBackend();

}  // namespace registry
