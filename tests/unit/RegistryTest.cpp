#include <gtest/gtest.h>

#include "MemoryRegistry.h"
#include "Registry.h"
#include "RegistryContract.h"
#include "RegistryLayout.h"

using namespace registry;
using testing_support::MemoryRegistry;

namespace {

const std::wstring kKey = L"software\\Varnholt\\Tolvane";

std::optional<std::wstring> Read(MemoryRegistry& reg, const std::wstring& name = L"Pfad") {
    return GetString(reg, Root::LocalMachine, kKey, name);
}

}  // namespace

// The same rows run on the real registry under Wine (tests/win).
TEST(RegistryContract, TheInMemoryRegistryBehavesAsWindows) {
    for (const auto& row : registry_contract::Rows()) {
        MemoryRegistry reg;
        EXPECT_EQ(registry_contract::Outcome(reg, row), row.expected) << row.label;
        EXPECT_EQ(reg.OpenHandles(), 0) << row.label << ": key left open";
    }
}

TEST(RegistryRead, AValueThatGrowsBetweenSizeAndReadIsReadAgain) {
    // A short text comes with the first read; a long one says its size first.
    const std::wstring longText = L"C:\\" + std::wstring(300, L'l');
    struct Case {
        std::wstring stored;
        int growths;  // before each of this many reads another program writes a longer text
        std::optional<std::wstring> expected;
    } cases[] = {{L"C:\\Temp", 0, L"C:\\Temp"},   {L"C:\\Temp", 1, L"C:\\Tempx"},
                 {L"C:\\Temp", 3, L"C:\\Tempx"},  {std::wstring(255, L's'), 0, std::wstring(255, L's')},
                 {std::wstring(255, L's'), 1, std::wstring(255, L's') + L"x"},  // grew past the first buffer
                 {longText, 0, longText},           {longText, 1, longText + L"x"},
                 {longText, 3, longText + L"xxx"},  {longText, 4, std::nullopt}};
    for (const Case& c : cases) {
        MemoryRegistry reg;
        reg.PutString(kKey, L"Pfad", c.stored);
        reg.GrowBeforeReads(c.growths);
        EXPECT_EQ(Read(reg), c.expected) << c.stored.size() << " " << c.growths;
        EXPECT_EQ(reg.OpenHandles(), 0);
    }
}

TEST(RegistryRead, AValueReplacedByANumberBetweenSizeAndReadIsNothing) {
    MemoryRegistry reg;
    reg.PutString(kKey, L"Pfad", L"C:\\Temp");
    reg.RetypeBeforeRead(kTypeDword);
    EXPECT_EQ(Read(reg), std::nullopt);
}

TEST(RegistryRead, SeveralValuesThroughOneOpenKey) {
    MemoryRegistry reg;
    reg.PutString(kKey, L"Name", L"n");
    reg.PutRaw(kKey, L"Modus", kTypeDword, {1, 0, 0, 0});
    reg.PutString(kKey, L"PFAD", L"C:\\");
    const int opens = reg.Opens();
    EXPECT_EQ(GetStrings(reg, Root::LocalMachine, kKey, {L"Name", L"Pfad", L"Modus", L"Hotkey"}),
              (std::vector<std::optional<std::wstring>>{L"n", L"C:\\", std::nullopt, std::nullopt}));
    EXPECT_EQ(reg.Opens(), opens + 1);
    EXPECT_EQ(GetStrings(reg, Root::CurrentUser, kKey, {L"Name"}), (std::vector<std::optional<std::wstring>>{std::nullopt}));
    EXPECT_EQ(reg.OpenHandles(), 0);
}

TEST(RegistryWrite, RefusedWritesReportTheReasonAndChangeNothing) {
    MemoryRegistry reg;
    reg.PutString(kKey, L"Pfad", L"C:\\old");
    reg.PutString(kRunKey, kRunValue, L"C:\\Tolvane\\Tolvane.exe");
    reg.RefuseWrites(winkit::kErrorAccessDenied);
    EXPECT_EQ(SaveString(reg, Root::LocalMachine, kKey, L"Pfad", L"C:\\new").code, winkit::kErrorAccessDenied);
    EXPECT_EQ(SaveString(reg, Root::LocalMachine, L"software\\New\\Key", L"x", L"y").code, winkit::kErrorAccessDenied);
    EXPECT_EQ(DeleteValue(reg, Root::LocalMachine, kRunKey, kRunValue).code, winkit::kErrorAccessDenied);
    EXPECT_EQ(DeleteKey(reg, Root::LocalMachine, kSettingsKey).code, winkit::kErrorAccessDenied);
    EXPECT_EQ(Read(reg), L"C:\\old");
    EXPECT_TRUE(reg.HasValue(kRunKey, kRunValue));
    EXPECT_FALSE(reg.HasKey(L"software\\New"));
    EXPECT_EQ(reg.OpenHandles(), 0);
}

// Windows lists values in the order they were first written (Wine sorts them):
// the store's list keeps that order and only the texts.
TEST(RegistryEnumerate, TextValuesInTheOrderWritten) {
    MemoryRegistry reg;
    const std::wstring folders = kKey + L"\\Folders";
    reg.PutString(folders, L"Zeta", L"C:\\z");
    reg.PutString(folders, L"alpha", L"C:\\a");
    reg.PutRaw(folders, L"Number", kTypeDword, {1, 0, 0, 0});
    reg.PutString(folders, L"Expand", L"%TEMP%", kTypeExpandSz);
    reg.PutString(folders, L"ZETA", L"C:\\z2");  // written again: keeps its place
    std::vector<std::wstring> seen;
    for (const auto& value : StringValues(reg, Root::LocalMachine, folders))
        seen.push_back(value.name + L"=" + value.text);
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"Zeta=C:\\z2", L"alpha=C:\\a", L"Expand=%TEMP%"}));
    EXPECT_TRUE(StringValues(reg, Root::CurrentUser, folders).empty()) << "another root";
    EXPECT_EQ(reg.OpenHandles(), 0);
}
