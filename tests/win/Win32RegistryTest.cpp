// The store against the real registry API (Wine's here): the same semantics the
// in-memory backend promises, and the 32-bit view in the x86_64 build.
#include <windows.h>

#include <algorithm>

#include "MiniTest.h"

#include "Registry.h"

using namespace registry;

namespace {

const std::wstring kTestKey = L"software\\Varnholt\\TolvaneUnitTest";

// Each test starts from no test key and leaves none behind.
struct CleanKey {
    CleanKey() { Remove(); }
    ~CleanKey() { Remove(); }
    static void Remove() {
        HKEY parent = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"software\\Varnholt", 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &parent) ==
            ERROR_SUCCESS) {
            RegDeleteTreeW(parent, L"TolvaneUnitTest");
            RegCloseKey(parent);
        }
    }
};

void PutRaw(const std::wstring& name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kTestKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr,
                    &key, nullptr);
    RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

std::optional<std::wstring> Read(const std::wstring& name) {
    return GetString(SystemBackend(), Root::LocalMachine, kTestKey, name);
}

}  // namespace

TEST(Win32Registry, TextsRoundTripWhole) {
    CleanKey clean;
    const std::wstring texts[] = {L"", L"C:\\", L"  C:\\With Blanks  ", L"C:\\\u00c4rger \u00df \u03a9 \u6587",
                                  std::wstring(100000, L'z')};
    for (const auto& text : texts) {
        ASSERT_TRUE(SaveString(SystemBackend(), Root::LocalMachine, kTestKey, L"Pfad", text).Ok());
        EXPECT_TRUE(Read(L"Pfad") == text) << text.size() << " characters";
    }
}

TEST(Win32Registry, StoredFormsReadAsDescribed) {
    CleanKey clean;
    const wchar_t noNul[] = {L'C', L':', L'\\', L'x'};
    PutRaw(L"NoNul", REG_SZ, noNul, sizeof(noNul));
    EXPECT_TRUE(Read(L"NoNul") == L"C:\\x");
    const wchar_t embedded[] = L"C:\\a\0C:\\b";
    PutRaw(L"Embedded", REG_SZ, embedded, sizeof(embedded));
    EXPECT_TRUE(Read(L"Embedded") == L"C:\\a");
    const wchar_t expand[] = L"%TEMP%";
    PutRaw(L"Expand", REG_EXPAND_SZ, expand, sizeof(expand));
    EXPECT_TRUE(Read(L"Expand") == std::wstring(L"%TEMP%"));  // text as stored, unexpanded
    const DWORD number = 3;
    PutRaw(L"Number", REG_DWORD, &number, sizeof(number));
    EXPECT_TRUE(Read(L"Number") == std::nullopt);
    PutRaw(L"Empty", REG_SZ, L"", sizeof(wchar_t));
    EXPECT_TRUE(Read(L"Empty") == L"");
    EXPECT_TRUE(Read(L"Missing") == std::nullopt);
}

TEST(Win32Registry, ValuesLiveInThe32BitView) {
    CleanKey clean;
    ASSERT_TRUE(SaveString(SystemBackend(), Root::LocalMachine, kTestKey, L"Modus", L"vbNormalFocus").Ok());
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kTestKey.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key),
              ERROR_SUCCESS);
    if (key != nullptr) RegCloseKey(key);
#ifdef _WIN64
    key = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kTestKey.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key),
              ERROR_SUCCESS)
        << "the x86_64 build must not write to the 64-bit view";
    if (key != nullptr) RegCloseKey(key);
#endif
}

TEST(Win32Registry, DeletingReportsWhatHappened) {
    CleanKey clean;
    ASSERT_TRUE(SaveString(SystemBackend(), Root::LocalMachine, kTestKey + L"\\Child", L"x", L"y").Ok());
    EXPECT_FALSE(DeleteKey(SystemBackend(), Root::LocalMachine, kTestKey).Ok()) << "a key with subkeys stays";
    EXPECT_TRUE(DeleteKey(SystemBackend(), Root::LocalMachine, kTestKey + L"\\Child").Ok());
    EXPECT_EQ(DeleteKey(SystemBackend(), Root::LocalMachine, kTestKey + L"\\Child").code, winkit::kErrorFileNotFound);
    ASSERT_TRUE(SaveString(SystemBackend(), Root::LocalMachine, kTestKey, L"v", L"1").Ok());
    EXPECT_TRUE(DeleteValue(SystemBackend(), Root::LocalMachine, kTestKey, L"v").Ok());
    EXPECT_EQ(DeleteValue(SystemBackend(), Root::LocalMachine, kTestKey, L"v").code, winkit::kErrorFileNotFound);
    EXPECT_TRUE(DeleteKey(SystemBackend(), Root::LocalMachine, kTestKey).Ok());
    EXPECT_TRUE(GetString(SystemBackend(), Root::LocalMachine, L"software\\Varnholt", L"none") == std::nullopt);
}

// The in-memory backend refuses changes through a key opened for reading; the
// real one must agree, or native tests would pass code that fails on Windows.
TEST(Win32Registry, AKeyOpenedForReadingRefusesChanges) {
    CleanKey clean;
    ASSERT_TRUE(SaveString(SystemBackend(), Root::LocalMachine, kTestKey, L"v", L"1").Ok());
    Backend& backend = SystemBackend();
    Backend::Key key = 0;
    ASSERT_EQ(backend.OpenKey(Root::LocalMachine, kTestKey, false, &key), winkit::kErrorSuccess);
    const std::uint8_t data[] = {0x32, 0, 0, 0};
    EXPECT_EQ(backend.SetValue(key, L"v", kTypeSz, data, sizeof(data)), winkit::kErrorAccessDenied);
    EXPECT_EQ(backend.DeleteValue(key, L"v"), winkit::kErrorAccessDenied);
    backend.CloseKey(key);
    EXPECT_TRUE(Read(L"v") == L"1");
}

// Enumeration needs a handle opened for it: the in-memory backend lists the
// same names, subkeys by name (values in the order written there; Windows
// promises no order for values, Wine sorts them).
TEST(Win32Registry, EnumeratesSubkeysAndTextValues) {
    CleanKey clean;
    for (const wchar_t* name : {L"10", L"2", L"b", L"A"})
        ASSERT_TRUE(SaveString(SystemBackend(), Root::LocalMachine, kTestKey + L"\\" + name, L"Name", name).Ok());
    EXPECT_TRUE(SubKeyNames(SystemBackend(), Root::LocalMachine, kTestKey) ==
                (std::vector<std::wstring>{L"10", L"2", L"A", L"b"}));
    ASSERT_TRUE(SaveString(SystemBackend(), Root::LocalMachine, kTestKey, L"Zeta \u03a9", L"C:\\z").Ok());
    const DWORD number = 3;
    PutRaw(L"Number", REG_DWORD, &number, sizeof(number));
    const std::wstring longName(300, L'n');
    ASSERT_TRUE(SaveString(SystemBackend(), Root::LocalMachine, kTestKey, longName, L"C:\\long").Ok());
    std::vector<std::wstring> seen;
    for (const auto& value : StringValues(SystemBackend(), Root::LocalMachine, kTestKey))
        seen.push_back(value.name + L"=" + value.text);
    std::sort(seen.begin(), seen.end());
    EXPECT_TRUE(seen == (std::vector<std::wstring>{L"Zeta \u03a9=C:\\z", longName + L"=C:\\long"}));
    EXPECT_TRUE(SubKeyNames(SystemBackend(), Root::LocalMachine, kTestKey + L"\\Missing").empty());
}
