// TestDriver's registry reads.
#include "Driver.h"

#include <vector>

namespace driver {

namespace {

// "wine reg query" prints through the console code page and loses letters
// outside it; reading here keeps every character of the value.
HKEY RootFromName(const std::wstring& key, std::wstring& subKey)
{
    const size_t slash = key.find(L'\\');
    const std::wstring root = key.substr(0, slash);
    subKey = slash == std::wstring::npos ? L"" : key.substr(slash + 1);
    if (_wcsicmp(root.c_str(), L"HKLM") == 0 || _wcsicmp(root.c_str(), L"HKEY_LOCAL_MACHINE") == 0) {
        return HKEY_LOCAL_MACHINE;
    }
    if (_wcsicmp(root.c_str(), L"HKCU") == 0 || _wcsicmp(root.c_str(), L"HKEY_CURRENT_USER") == 0) {
        return HKEY_CURRENT_USER;
    }
    return nullptr;
}

} // namespace

int CmdRegGet(const Args& args)
{
    const auto& p = args.Positional();
    if (p.size() < 2) {
        return Fail(L"reg-get needs key and value name");
    }
    std::wstring subKey;
    const HKEY root = RootFromName(p[0], subKey);
    if (!root) {
        return Fail(L"unknown root in " + p[0]);
    }
    // HKEY_CURRENT_USER is read without a view, as the programs read it.
    const REGSAM view = root != HKEY_LOCAL_MACHINE ? 0 : args.Has(L"64") ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) {
        Fact("reg-value").Str("name", p[1]).Bool("exists", false).Bool("key_exists", false).Emit();
        return 0;
    }
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExW(key, p[1].c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) {
        RegCloseKey(key);
        Fact("reg-value").Str("name", p[1]).Bool("exists", false).Bool("key_exists", true).Emit();
        return 0;
    }
    std::vector<BYTE> data(size + 2, 0);
    RegQueryValueExW(key, p[1].c_str(), nullptr, &type, data.data(), &size);
    RegCloseKey(key);
    Fact fact("reg-value");
    fact.Str("name", p[1]).Bool("exists", true).Bool("key_exists", true).Num("type", type).Num("size", size);
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0') {
            text.pop_back();
        }
        fact.Str("value", text);
    } else if (type == REG_DWORD && size >= 4) {
        fact.Num("value", *reinterpret_cast<const DWORD*>(data.data()));
    }
    fact.Emit();
    return 0;
}

} // namespace driver
