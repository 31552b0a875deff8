#include <gtest/gtest.h>

#include "MemoryRegistry.h"
#include "Registry.h"
#include "RegistryLayout.h"

using namespace registry;
using testing_support::kMakerKey;
using testing_support::kTypeBinary;
using testing_support::MemoryRegistry;

namespace {

const std::wstring kKey = L"software\\Varnholt\\Tolvane";

std::vector<std::uint8_t> Bytes(const std::wstring& text, bool withNul) {
    auto data = ToUtf16Bytes(text);
    if (withNul) {
        data.push_back(0);
        data.push_back(0);
    }
    return data;
}

std::optional<std::wstring> Read(MemoryRegistry& reg, const std::wstring& name = L"Pfad") {
    return GetString(reg, Root::LocalMachine, kKey, name);
}

}  // namespace

struct StoredValueCase {
    const char* label;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
    std::optional<std::wstring> expected;
};

TEST(RegistryRead, StoredDataReadsAsExpected) {
    const std::wstring longText(70000, L'x');  // past any 16-bit length
    const StoredValueCase cases[] = {
        {"with terminating NUL", kTypeSz, Bytes(L"C:\\Temp", true), L"C:\\Temp"},
        {"without terminating NUL", kTypeSz, Bytes(L"C:\\Temp", false), L"C:\\Temp"},
        {"empty string", kTypeSz, Bytes(L"", true), L""},
        {"zero bytes", kTypeSz, {}, L""},
        {"embedded NUL cuts", kTypeSz, Bytes(std::wstring(L"C:\\a\0C:\\b", 9), true), L"C:\\a"},
        {"odd byte count", kTypeSz, {0x43, 0x00, 0x3A}, L"C"},
        {"expandable string is text, unexpanded", kTypeExpandSz, Bytes(L"%TEMP%\\x", true), L"%TEMP%\\x"},
        {"number is absent", kTypeDword, {1, 0, 0, 0}, std::nullopt},
        {"binary is absent", kTypeBinary, Bytes(L"C:\\", true), std::nullopt},
        {"non-ANSI letters survive", kTypeSz, Bytes(L"C:\\\u00c4rger \u03a9 \u6587\u4ef6", true),
         L"C:\\\u00c4rger \u03a9 \u6587\u4ef6"},
        {"longer than 32767 characters", kTypeSz, Bytes(longText, true), longText},
    };
    for (const auto& c : cases) {
        MemoryRegistry reg;
        reg.PutRaw(kKey, L"Pfad", c.type, c.data);
        EXPECT_EQ(Read(reg), c.expected) << c.label;
        EXPECT_EQ(reg.OpenHandles(), 0) << c.label << ": key left open";
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

TEST(RegistryRead, MissingKeyOrValueIsNothing) {
    MemoryRegistry reg;
    EXPECT_EQ(Read(reg), std::nullopt);
    reg.PutString(kKey, L"Modus", L"vbNormalFocus");
    EXPECT_EQ(Read(reg), std::nullopt);
    EXPECT_EQ(Read(reg, L"MODUS"), L"vbNormalFocus") << "value names ignore case";
    EXPECT_EQ(GetString(reg, Root::LocalMachine, L"SOFTWARE\\VARNHOLT\\TOLVANE", L"Modus"), L"vbNormalFocus");
}

TEST(RegistryWrite, RoundTripsAnyText) {
    const std::wstring texts[] = {L"", L"  C:\\With Blanks  ", L"C:\\a,b", L"C:\\\u00c4rger \u00df \u03a9",
                                  L"C:\\\U0001F600 emoji", std::wstring(40000, L'y')};
    for (const auto& text : texts) {
        MemoryRegistry reg;
        ASSERT_TRUE(SaveString(reg, Root::LocalMachine, kKey, L"Pfad", text).Ok());
        EXPECT_EQ(Read(reg), text);
        const auto* stored = reg.Find(kKey, L"Pfad");
        ASSERT_NE(stored, nullptr);
        EXPECT_EQ(stored->type, kTypeSz);
        ASSERT_GE(stored->data.size(), 2u);
        EXPECT_EQ(stored->data[stored->data.size() - 1], 0) << "stored with its terminating NUL";
        EXPECT_EQ(stored->data[stored->data.size() - 2], 0);
        EXPECT_EQ(reg.OpenHandles(), 0);
    }
}

TEST(RegistryWrite, CreatesMissingKeysOnThePath) {
    MemoryRegistry reg;
    ASSERT_TRUE(SaveString(reg, Root::LocalMachine, kUninstallKey, kDisplayNameValue, L"Varnholt Tolvane").Ok());
    EXPECT_TRUE(reg.HasKey(L"software\\microsoft\\windows\\currentversion\\uninstall"));
    EXPECT_EQ(reg.StoredText(kUninstallKey, kDisplayNameValue), L"Varnholt Tolvane");
}

TEST(RegistryWrite, ReplacesAValueOfAnotherType) {
    MemoryRegistry reg;
    reg.PutRaw(kKey, L"Modus", kTypeDword, {3, 0, 0, 0});
    ASSERT_TRUE(SaveString(reg, Root::LocalMachine, kKey, L"Modus", L"vbNormalFocus").Ok());
    EXPECT_EQ(Read(reg, L"Modus"), L"vbNormalFocus");
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

TEST(RegistryDelete, MissingThingsAreReportedNotFatal) {
    MemoryRegistry reg;
    EXPECT_EQ(DeleteValue(reg, Root::LocalMachine, kRunKey, kRunValue).code, winkit::kErrorFileNotFound);
    EXPECT_EQ(DeleteKey(reg, Root::LocalMachine, kSettingsKey).code, winkit::kErrorFileNotFound);
    reg.PutString(kRunKey, L"Other", L"x");
    EXPECT_EQ(DeleteValue(reg, Root::LocalMachine, kRunKey, kRunValue).code, winkit::kErrorFileNotFound);
    EXPECT_TRUE(reg.HasValue(kRunKey, L"Other"));
}

TEST(RegistryDelete, DeleteKeyRemovesOnlyTheLastKey) {
    MemoryRegistry reg;
    reg.PutString(kSettingsKey, kModeValue, kDefaultMode);
    reg.PutString(kSettingsKey, kFolderValue, kDefaultFolder);
    ASSERT_TRUE(DeleteKey(reg, Root::LocalMachine, kSettingsKey).Ok());
    EXPECT_FALSE(reg.HasKey(kSettingsKey));
    EXPECT_TRUE(reg.HasKey(kMakerKey));
    EXPECT_FALSE(DeleteKey(reg, Root::LocalMachine, L"software").Ok()) << "a key with subkeys stays";
}

TEST(RegistryText, StripAtNull) {
    EXPECT_EQ(StripAtNull(L"abc"), L"abc");
    EXPECT_EQ(StripAtNull(std::wstring(L"abc\0   ", 7)), L"abc");
    EXPECT_EQ(StripAtNull(std::wstring(L"\0abc", 4)), L"");
    EXPECT_EQ(StripAtNull(L""), L"");
}

TEST(RegistryText, Utf16EncodingIsLittleEndianWithSurrogates) {
    EXPECT_EQ(ToUtf16Bytes(L"A\u00c4"), (std::vector<std::uint8_t>{0x41, 0, 0xC4, 0}));
    const std::wstring emoji = L"\U0001F600";
    const auto bytes = ToUtf16Bytes(emoji);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x3D, 0xD8, 0x00, 0xDE}));
    EXPECT_EQ(FromUtf16Bytes(bytes.data(), bytes.size()), emoji);
    const std::uint8_t firstPair[] = {0x00, 0xD8, 0x00, 0xDC};
    EXPECT_EQ(FromUtf16Bytes(firstPair, 4), L"\U00010000");
    // Lone low surrogates are kept as they are, not paired.
    const std::uint8_t lowLow[] = {0x00, 0xDC, 0x01, 0xDC};
    EXPECT_EQ(FromUtf16Bytes(lowLow, 4), (std::wstring{wchar_t(0xDC00), wchar_t(0xDC01)}));
}

TEST(RegistryWrite, NumbersAreLittleEndian) {
    MemoryRegistry reg;
    ASSERT_TRUE(SaveDword(reg, Root::LocalMachine, kKey, L"Size", 0x12345678).Ok());
    const auto* stored = reg.Find(kKey, L"Size");
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->type, registry::kTypeDword);
    EXPECT_EQ(stored->data, (std::vector<std::uint8_t>{0x78, 0x56, 0x34, 0x12}));
}

TEST(RegistryEnumerate, SubkeysByNameValuesInTheOrderWritten) {
    MemoryRegistry reg;
    const std::wstring folders = kKey + L"\\Folders";
    for (const wchar_t* name : {L"10", L"2", L"b", L"A"}) reg.PutString(folders + L"\\" + name, L"Name", name);
    reg.PutString(folders + L"\\2\\Deeper", L"x", L"y");
    EXPECT_EQ(SubKeyNames(reg, Root::LocalMachine, folders), (std::vector<std::wstring>{L"10", L"2", L"A", L"b"}))
        << "children only, by name ignoring case";
    reg.PutString(folders, L"Zeta", L"C:\\z");
    reg.PutString(folders, L"alpha", L"C:\\a");
    reg.PutRaw(folders, L"Number", kTypeDword, {1, 0, 0, 0});
    reg.PutRaw(folders, L"Expand", kTypeExpandSz, Bytes(L"%TEMP%", true));
    reg.PutString(folders, L"ZETA", L"C:\\z2");  // written again: keeps its place
    const auto values = StringValues(reg, Root::LocalMachine, folders);
    std::vector<std::wstring> seen;
    for (const auto& value : values) seen.push_back(value.name + L"=" + value.text);
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"Zeta=C:\\z2", L"alpha=C:\\a", L"Expand=%TEMP%"}));
    EXPECT_TRUE(SubKeyNames(reg, Root::LocalMachine, kKey + L"\\Missing").empty());
    EXPECT_TRUE(StringValues(reg, Root::CurrentUser, folders).empty()) << "another root";
    EXPECT_EQ(reg.OpenHandles(), 0);
}

TEST(RegistryEnumerate, OnlyAKeyOpenedForReading) {
    MemoryRegistry reg;
    reg.PutString(kKey + L"\\Sub", L"v", L"1");
    Backend::Key key = 0;
    std::wstring name;
    ASSERT_EQ(reg.CreateKey(Root::LocalMachine, kKey, &key), winkit::kErrorSuccess);
    EXPECT_EQ(reg.EnumKey(key, 0, &name), winkit::kErrorAccessDenied);
    EXPECT_EQ(reg.EnumValue(key, 0, &name), winkit::kErrorAccessDenied);
    reg.CloseKey(key);
    ASSERT_EQ(reg.OpenKey(Root::LocalMachine, kKey, false, &key), winkit::kErrorSuccess);
    EXPECT_EQ(reg.EnumKey(key, 0, &name), winkit::kErrorSuccess);
    EXPECT_EQ(name, L"Sub");
    EXPECT_EQ(reg.EnumKey(key, 1, &name), winkit::kErrorNoMoreItems);
    EXPECT_EQ(reg.EnumValue(key, 0, &name), winkit::kErrorNoMoreItems);
    reg.CloseKey(key);
}
