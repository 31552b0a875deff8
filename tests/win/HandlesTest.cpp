// The owner family: each kind's invalid value, and every handle given back once.
#include <windows.h>

#include "MiniTest.h"

#include <string>
#include <vector>

#include "Handles.h"
#include "SystemFunction.h"

namespace {

std::vector<int> g_closed;

struct CountingTraits {
    using Type = int;
    static Type Invalid() { return -1; }
    static void Close(Type h) { g_closed.push_back(h); }
};
using Counted = winkit::UniqueHandle<CountingTraits>;

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, buffer);
    return buffer;
}

}  // namespace

TEST(UniqueHandle, GivesEveryHandleBackOnce) {
    g_closed.clear();
    {
        Counted a(1);
        Counted b(std::move(a));
        EXPECT_TRUE(!a && b);
        a = std::move(b);
        a.Reset(2);
        *a.Put() = 3;
        Counted c(4);
        EXPECT_TRUE(c.Release() == 4);
        Counted none;
    }
    EXPECT_TRUE((g_closed == std::vector<int>{1, 2, 3}));
}

TEST(UniqueHandle, FilesAndFindsAreMissingAtInvalidHandleValue) {
    const std::wstring missing = TempFolder() + L"tolvane-no-such-folder\\x";
    winkit::UniqueFile file(
        CreateFileW(missing.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(!file);
    WIN32_FIND_DATAW data{};
    const winkit::UniqueFind find(FindFirstFileW(missing.c_str(), &data));
    EXPECT_TRUE(!find);
    const winkit::UniqueFind temp(FindFirstFileW((TempFolder() + L"*").c_str(), &data));
    EXPECT_TRUE(static_cast<bool>(temp));
    const std::wstring path = TempFolder() + L"tolvane-handles-test.txt";
    file.Reset(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    EXPECT_TRUE(static_cast<bool>(file));
    file.Reset();
    EXPECT_TRUE(GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) << "closed, so deleted";
}

TEST(UniqueHandle, KeysAndMemoryOfLocalAllocAndOfOle) {
    winkit::UniqueKey key;
    EXPECT_TRUE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.Put()) == ERROR_SUCCESS);
    EXPECT_TRUE(static_cast<bool>(key));
    winkit::UniqueLocal<wchar_t> text(static_cast<wchar_t*>(LocalAlloc(LMEM_FIXED, 16)));
    EXPECT_TRUE(static_cast<bool>(text));
    const auto alloc = winkit::SystemFunction<decltype(&SysAllocString)>(L"oleaut32.dll", "SysAllocString");
    const auto taskAlloc = winkit::SystemFunction<decltype(&CoTaskMemAlloc)>(L"ole32.dll", "CoTaskMemAlloc");
    ASSERT_TRUE(alloc != nullptr && taskAlloc != nullptr);
    const winkit::UniqueBstr bstr(alloc(L"Tolvane"));
    EXPECT_TRUE(std::wstring(bstr.Get()) == L"Tolvane");
    const winkit::UniqueCoTaskMem<void> memory(taskAlloc(16));
    EXPECT_TRUE(static_cast<bool>(memory));
    EXPECT_TRUE(winkit::LoadedFunction<FARPROC>(L"kernel32.dll", "NoSuchFunction") == nullptr);
    EXPECT_TRUE(winkit::LoadedFunction<FARPROC>(L"no-such.dll", "GetTickCount") == nullptr);
}
