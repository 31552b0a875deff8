#pragma once
// What the store relies on the registry for, as rows of what is stored, what
// is done and what comes of it: the native tests run them on the in-memory
// registry, the Win32 tests under Wine on the real one, so that the fake is
// held to what Windows does.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "Registry.h"
#include "Utf16.h"

namespace registry_contract {

using registry::Backend;
using registry::Root;

// Every row works under this key, in each root; Clean removes it.
inline const std::wstring kKey = L"software\\Varnholt\\TolvaneContract";

inline std::vector<std::uint8_t> Sz(const std::wstring& text) {
    auto data = registry::ToUtf16Bytes(text);
    data.insert(data.end(), {0, 0});
    return data;
}

// A value in place before the row's action, written raw through the backend.
struct Stored {
    std::wstring path;  // under kKey
    std::wstring name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
    Root root = Root::LocalMachine;
};

enum class Action {
    Read,         // the store's text of the value, or "nothing"
    Save,         // the store writes the text: the type and bytes stored, and whether it reads back whole
    SaveNumber,   // the store writes 0x12345678 as a number: the type and bytes stored
    Query,        // QueryValue with a buffer of `buffer` bytes (0: none, the size only)
    Open,         // OpenKey for reading, then for writing
    WrongAccess,  // changes through a key opened for reading, reads through one opened for writing
    SubKeys,      // EnumKey from 0: the names in order, and the code it ended with
    ValueNames,   // EnumValue from 0: the names (sorted: Windows promises no order), and the ending code
    DeleteKey,    // the store's DeleteKey, and whether the key is still there
    DeleteValue,  // the store's DeleteValue, and whether the value is still there
};

struct Row {
    const char* label;
    std::vector<Stored> stored;
    Action action;
    std::wstring expected;
    std::wstring text = L"";   // what Save writes
    std::uint32_t buffer = 0;  // Query's buffer
    std::wstring path = L"";   // under kKey
    std::wstring name = L"v";
    Root root = Root::LocalMachine;
};

inline std::wstring Code(long code) { return L"code " + std::to_wstring(code); }

inline std::wstring Hex(const std::vector<std::uint8_t>& data) {
    if (data.size() > 12) return L" " + std::to_wstring(data.size()) + L" bytes";
    std::wstring text;
    for (std::uint8_t byte : data) text += {L' ', L"0123456789ABCDEF"[byte >> 4], L"0123456789ABCDEF"[byte & 15]};
    return text;
}

inline std::wstring Outcome(Backend& backend, const Row& row) {
    using registry::OpenedKey;
    for (const Stored& value : row.stored) {
        OpenedKey key = registry::KeyOf(backend);
        const std::wstring path = value.path.empty() ? kKey : kKey + L"\\" + value.path;
        if (const long error = backend.CreateKey(value.root, path, key.Put())) return L"stored: " + Code(error);
        if (const long error = backend.SetValue(key.Get(), value.name, value.type, value.data.data(),
                                                static_cast<std::uint32_t>(value.data.size())))
            return L"stored: " + Code(error);
    }
    const std::wstring path = row.path.empty() ? kKey : kKey + L"\\" + row.path;
    OpenedKey key = registry::KeyOf(backend);
    auto open = [&](bool forWriting) { return backend.OpenKey(row.root, path, forWriting, key.Put()); };
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    auto stored = [&] {
        open(false);
        const long error = registry::ReadValue(backend, key.Get(), row.name, &type, &data);
        return error ? Code(error) : L"type " + std::to_wstring(type) + L":" + Hex(data);
    };
    switch (row.action) {
    case Action::Read: {
        const auto text = registry::GetString(backend, row.root, path, row.name);
        return text ? L"text " + *text : L"nothing";
    }
    case Action::Save:
        if (const auto status = registry::SaveString(backend, row.root, path, row.name, row.text); !status.Ok())
            return Code(status.code);
        return stored() + (registry::GetString(backend, row.root, path, row.name) == row.text ? L"; reads back" : L"");
    case Action::SaveNumber:
        if (const auto status = registry::SaveDword(backend, row.root, path, row.name, 0x12345678); !status.Ok())
            return Code(status.code);
        return stored();
    case Action::Query: {
        if (const long error = open(false)) return L"open: " + Code(error);
        data.resize(row.buffer);
        std::uint32_t size = row.buffer;
        const long error = backend.QueryValue(key.Get(), row.name, &type, row.buffer ? data.data() : nullptr, &size);
        if (error != winkit::kErrorSuccess && error != winkit::kErrorMoreData) return Code(error);
        return Code(error) + L", type " + std::to_wstring(type) + L", size " + std::to_wstring(size);
    }
    case Action::Open: {
        const long reading = open(false);
        return Code(reading) + L", " + Code(open(true));
    }
    case Action::WrongAccess: {
        std::wstring name;
        open(false);
        std::wstring outcome = L"set " + std::to_wstring(backend.SetValue(key.Get(), row.name, registry::kTypeSz,
                                                                           Sz(L"x").data(), 4));
        outcome += L", delete " + std::to_wstring(backend.DeleteValue(key.Get(), row.name));
        open(true);
        std::uint32_t size = 0;
        outcome += L", query " + std::to_wstring(backend.QueryValue(key.Get(), row.name, &type, nullptr, &size));
        outcome += L", keys " + std::to_wstring(backend.EnumKey(key.Get(), 0, &name));
        return outcome + L", values " + std::to_wstring(backend.EnumValue(key.Get(), 0, &name));
    }
    case Action::SubKeys:
    case Action::ValueNames: {
        if (const long error = open(false)) return L"open: " + Code(error);
        std::vector<std::wstring> names;
        long error = winkit::kErrorSuccess;
        for (std::uint32_t index = 0; error == winkit::kErrorSuccess; ++index) {
            std::wstring name;
            error = row.action == Action::SubKeys ? backend.EnumKey(key.Get(), index, &name)
                                                  : backend.EnumValue(key.Get(), index, &name);
            if (error == winkit::kErrorSuccess) names.push_back(name);
        }
        if (row.action == Action::ValueNames) std::sort(names.begin(), names.end());
        std::wstring outcome;
        for (const auto& name : names) outcome += name + L"|";
        return outcome + L" " + Code(error);
    }
    case Action::DeleteKey: {
        const long error = registry::DeleteKey(backend, row.root, path).code;
        return Code(error) + (open(false) == winkit::kErrorSuccess ? L", still there" : L", gone");
    }
    case Action::DeleteValue: {
        const long error = registry::DeleteValue(backend, row.root, path, row.name).code;
        return Code(error) + (registry::GetString(backend, row.root, path, row.name) ? L", still there" : L", gone");
    }
    }
    return L"no such action";
}

inline void RemoveTree(Backend& backend, Root root, const std::wstring& path) {
    for (const auto& name : registry::SubKeyNames(backend, root, path)) RemoveTree(backend, root, path + L"\\" + name);
    backend.DeleteKey(root, path);
}

// Removes kKey and all below it, in every root.
inline void Clean(Backend& backend) {
    for (Root root : {Root::LocalMachine, Root::CurrentUser, Root::MachinePolicy}) RemoveTree(backend, root, kKey);
}

inline const std::vector<Row>& Rows() {
    using registry::kTypeDword;
    using registry::kTypeExpandSz;
    using registry::kTypeSz;
    constexpr std::uint32_t kTypeBinary = 3;
    const std::wstring longText(100000, L'z');  // past any 16-bit length, and the first buffer
    const std::wstring longName(300, L'n');
    // The value "v" of the row's key, stored as given.
    auto v = [](std::uint32_t type, std::vector<std::uint8_t> data, Root root = Root::LocalMachine) {
        return std::vector<Stored>{{L"", L"v", type, std::move(data), root}};
    };
    const auto temp = v(kTypeSz, Sz(L"C:\\Temp"));
    const auto number = v(kTypeDword, {1, 0, 0, 0});
    static const std::vector<Row> rows = {
        // What the store reads, as stored.
        {"with terminating NUL", temp, Action::Read, L"text C:\\Temp"},
        {"without terminating NUL", v(kTypeSz, registry::ToUtf16Bytes(L"C:\\Temp")), Action::Read, L"text C:\\Temp"},
        {"empty text", v(kTypeSz, Sz(L"")), Action::Read, L"text "},
        {"zero bytes", v(kTypeSz, {}), Action::Read, L"text "},
        {"a NUL inside cuts", v(kTypeSz, Sz(std::wstring(L"C:\\a\0C:\\b", 9))), Action::Read, L"text C:\\a"},
        {"a NUL first is empty", v(kTypeSz, Sz(std::wstring(L"\0abc", 4))), Action::Read, L"text "},
        {"odd byte count", v(kTypeSz, {0x43, 0x00, 0x3A}), Action::Read, L"text C"},
        {"REG_EXPAND_SZ is text, unexpanded", v(kTypeExpandSz, Sz(L"%TEMP%\\x")), Action::Read, L"text %TEMP%\\x"},
        {"REG_DWORD is nothing", number, Action::Read, L"nothing"},
        {"REG_BINARY is nothing", v(kTypeBinary, Sz(L"C:\\")), Action::Read, L"nothing"},
        {"letters past ANSI", v(kTypeSz, Sz(L"C:\\\u00c4rger \u03a9 \u6587\u4ef6")), Action::Read,
         L"text C:\\\u00c4rger \u03a9 \u6587\u4ef6"},
        {"a pair of surrogates", v(kTypeSz, {0x3D, 0xD8, 0x00, 0xDE, 0, 0}), Action::Read, L"text \U0001F600"},
        {"lone low surrogates stay", v(kTypeSz, {0x00, 0xDC, 0x01, 0xDC}), Action::Read,
         L"text " + std::wstring{wchar_t(0xDC00), wchar_t(0xDC01)}},
        {"longer than the first buffer", v(kTypeSz, Sz(longText)), Action::Read, L"text " + longText},
        {"missing value", temp, Action::Read, L"nothing", L"", 0, L"", L"w"},
        {"missing key", {}, Action::Read, L"nothing"},
        {"names ignore case", {{L"Sub", L"Modus", kTypeSz, Sz(L"C:\\Temp")}}, Action::Read, L"text C:\\Temp", L"", 0,
         L"SUB", L"MODUS"},
        // Each root and view is a tree of its own.
        {"the machine's view is not the policies'", temp, Action::Read, L"nothing", L"", 0, L"", L"v",
         Root::MachinePolicy},
        {"the policies' view is not the machine's", v(kTypeSz, Sz(L"C:\\"), Root::MachinePolicy), Action::Read,
         L"nothing"},
        {"the user's is not the machine's", v(kTypeSz, Sz(L"C:\\"), Root::CurrentUser), Action::Read, L"nothing"},
        {"the user's", v(kTypeSz, Sz(L"C:\\"), Root::CurrentUser), Action::Read, L"text C:\\", L"", 0, L"", L"v",
         Root::CurrentUser},
        // What the store writes.
        {"UTF-16LE with a NUL", {}, Action::Save, L"type 1: 41 00 C4 00 3D D8 00 DE 00 00; reads back",
         L"A\u00c4\U0001F600"},
        {"empty text", {}, Action::Save, L"type 1: 00 00; reads back", L""},
        {"long text", {}, Action::Save, L"type 1: 200002 bytes; reads back", longText},
        {"blanks kept", {}, Action::Save, L"type 1: 38 bytes; reads back", L"  C:\\With Blanks  "},
        {"keys on the way created", {}, Action::Save, L"type 1: 79 00 00 00; reads back", L"y", 0, L"New\\Deeper"},
        {"a number replaced", number, Action::Save, L"type 1: 61 00 00 00; reads back", L"a"},
        {"a number little-endian", {}, Action::SaveNumber, L"type 4: 78 56 34 12"},
        // The backend's own codes (RegQueryValueExW, RegOpenKeyExW, the enumerations).
        {"size only", temp, Action::Query, L"code 0, type 1, size 16"},
        {"buffer too small", temp, Action::Query, L"code 234, type 1, size 16", L"", 4},
        {"buffer just right", temp, Action::Query, L"code 0, type 1, size 16", L"", 16},
        {"buffer larger", temp, Action::Query, L"code 0, type 1, size 16", L"", 64},
        {"a number", number, Action::Query, L"code 0, type 4, size 4", L"", 4},
        {"no such value", temp, Action::Query, L"code 2", L"", 64, L"", L"w"},
        {"no such key", {}, Action::Open, L"code 2, code 2"},
        {"a key", temp, Action::Open, L"code 0, code 0"},
        {"access as opened", {{L"", L"v", kTypeSz, {}}, {L"Sub", L"v", kTypeSz, {}}}, Action::WrongAccess,
         L"set 5, delete 5, query 5, keys 5, values 5"},
        {"subkeys by name, ignoring case",
         {{L"10", L"v", kTypeSz, {}},
          {L"2", L"v", kTypeSz, {}},
          {L"b", L"v", kTypeSz, {}},
          {L"A", L"v", kTypeSz, {}},
          {L"2\\Deeper", L"v", kTypeSz, {}}},
         Action::SubKeys, L"10|2|A|b| code 259"},
        {"no subkeys", temp, Action::SubKeys, L" code 259"},
        {"values of every type",
         {{L"", L"Zeta \u03a9", kTypeSz, {}},
          {L"", L"alpha", kTypeSz, {}},
          {L"", L"Number", kTypeDword, {1, 0, 0, 0}},
          {L"", longName, kTypeSz, {}}},
         Action::ValueNames, L"Number|Zeta \u03a9|alpha|" + longName + L"| code 259"},
        {"no values", {{L"Sub", L"v", kTypeSz, {}}}, Action::ValueNames, L" code 259"},
        // Deleting.
        {"a key with subkeys stays", {{L"Child", L"v", kTypeSz, {}}}, Action::DeleteKey, L"code 5, still there"},
        {"a key with values goes", {{L"Child", L"v", kTypeSz, {}}}, Action::DeleteKey, L"code 0, gone", L"", 0,
         L"Child"},
        {"no such key", {}, Action::DeleteKey, L"code 2, gone"},
        {"a value", {{L"", L"v", kTypeSz, {}}, {L"", L"w", kTypeSz, {}}}, Action::DeleteValue, L"code 0, gone"},
        {"no such value", temp, Action::DeleteValue, L"code 2, gone", L"", 0, L"", L"w"},
        {"a value of no such key", {}, Action::DeleteValue, L"code 2, gone"},
    };
    return rows;
}

}  // namespace registry_contract
