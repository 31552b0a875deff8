#include <gtest/gtest.h>

#include <vector>

#include "ExplorerLaunch.h"
#include "MemoryRegistry.h"
#include "RegistryLayout.h"

using namespace launcher;
using testing_support::MemoryRegistry;
using testing_support::User;

TEST(ExplorerCommand, FolderIsQuotedWhole) {
    struct Case {
        const wchar_t* folder;
        const wchar_t* command;
    } cases[] = {
        {L"C:\\", L"explorer.exe /e,\"C:\\\""},
        {L"C:\\a,b", L"explorer.exe /e,\"C:\\a,b\""},
        {L"C:\\Program Files\\x y", L"explorer.exe /e,\"C:\\Program Files\\x y\""},
        {L"  C:\\blanks  ", L"explorer.exe /e,\"  C:\\blanks  \""},
        {L"C:\\\u00c4rger \u00df", L"explorer.exe /e,\"C:\\\u00c4rger \u00df\""},
        {L"\"C:\\quoted\"", L"explorer.exe /e,\"C:\\quoted\""},
        {L"C:\\a\" /select,\"C:\\b", L"explorer.exe /e,\"C:\\a /select,C:\\b\""},
        {L"", L"explorer.exe /e,"},
        {L"\"\"", L"explorer.exe /e,"},
    };
    for (const auto& c : cases) EXPECT_EQ(ExplorerCommandLine(c.folder), c.command);
}

namespace {

// Folders as a test sets them; %USERPROFILE% is the one variable, N: a
// mapped drive, M: one whose connection is lost; every share of \\srv but "off" connected to.
class FakeProbe final : public FolderProbe {
public:
    std::wstring ExpandVariables(const std::wstring& text) override {
        const std::wstring name = L"%USERPROFILE%";
        return text.rfind(name, 0) == 0 ? L"C:\\Users\\ann" + text.substr(name.size()) : text;
    }
    bool IsNetworkDrive(wchar_t letter) override { return letter == L'N' || letter == L'M'; }
    Found Examine(const std::wstring& path) override {
        examined.push_back(path);
        if (path == L"C:\\" || path == L"C:\\Users\\ann\\Documents" || path == L"C:\\windows" ||
            path == L"N:\\" || path == L"N:\\x" || path == L"\\\\srv\\on" || path == L"\\\\srv\\on\\x")
            return Found::Folder;
        if (path == L"C:\\notes.txt") return Found::File;
        if (path == L"C:\\locked") return Found::Unknown;
        return Found::Nothing;
    }
    bool IsConnected(const std::wstring& path) override {
        return path[0] == L'N' || (path.rfind(L"\\\\srv\\", 0) == 0 && path.rfind(L"\\\\srv\\off", 0) != 0);
    }
    std::vector<std::wstring> examined;
};

}  // namespace

TEST(ExplorerCommand, PlannedFromTheStoredSettings) {
    MemoryRegistry reg;
    FakeProbe probe;
    EXPECT_EQ(PlanExplorerLaunch(ReadLaunchSettings(reg), probe).commandLine, L"explorer.exe /e,");
    EXPECT_EQ(PlanExplorerLaunch(ReadLaunchSettings(reg), probe).showState, 1);
    reg.PutString(registry::kSettingsKey, registry::kModeValue, L"vbMaximizedFocus");
    reg.PutString(registry::kSettingsKey, registry::kFolderValue, L"C:\\");
    const ExplorerLaunch launch = PlanExplorerLaunch(ReadLaunchSettings(reg), probe);
    EXPECT_EQ(launch.commandLine, L"explorer.exe /e,\"C:\\\"");
    EXPECT_EQ(launch.showState, 3);
    reg.PutRaw(registry::kSettingsKey, registry::kModeValue, registry::kTypeDword, {2, 0, 0, 0});
    EXPECT_EQ(PlanExplorerLaunch(ReadLaunchSettings(reg), probe).showState, 1) << "a number is no mode name";
    reg.PutString(User(registry::kSettingsKey), registry::kFolderValue, L"%USERPROFILE%\\Documents");
    EXPECT_EQ(PlanExplorerLaunch(ReadLaunchSettings(reg), probe).commandLine, L"explorer.exe /e,\"C:\\Users\\ann\\Documents\"")
        << "the user's folder, expanded";
}

TEST(ExplorerCommand, AClickReadsOnlyTheModeAndTheFolder) {
    MemoryRegistry reg;  // nothing stored: every place is asked for both values
    ReadLaunchSettings(reg);
    EXPECT_EQ(reg.Opens(), 8) << "four places, two values";
}

TEST(ExplorerCommand, OnlyAMissingFolderOrAFileOnALocalDriveStopsTheStart) {
    constexpr auto kNone = FolderProblem::None, kMissing = FolderProblem::Missing, kFile = FolderProblem::IsFile,
                   kDevice = FolderProblem::DevicePath, kAddress = FolderProblem::Address,
                   kNotFull = FolderProblem::NotFull;
    const std::pair<const wchar_t*, FolderProblem> cases[] = {  // stored folder, problem
        {L"C:\\", kNone}, {L"%USERPROFILE%\\Documents", kNone}, {L"C:\\gone", kMissing},
        {L"%USERPROFILE%\\gone", kMissing}, {L"q:\\", kMissing}, {L"", kNone}, {L"\\\\server\\share\\gone", kNone},
        {L"N:\\on a mapped drive", kNone}, {L"%UNDEFINED%\\x", kNotFull}, {L"relative", kNotFull},
        {L"\\\\?\\C:\\windows", kDevice}, {L"file:///C:/notes.txt", kAddress},
        {L"shell:Personal", kNone}, {L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", kNone},
        {L"Q:", kMissing}, {L"N:", kNone}, {L"C:\\notes.txt", kFile}, {L"C:\\locked", kNone},
        // Blanks at either end are the user's typing, not part of the folder.
        {L" C:\\windows", kNone}, {L"C:\\windows  ", kNone}, {L"\t %USERPROFILE%\\Documents ", kNone},
        {L" C:\\notes.txt ", kFile}, {L"   ", kNone},
    };
    for (const auto& [stored, problem] : cases) {
        MemoryRegistry reg;
        reg.PutString(registry::kSettingsKey, registry::kFolderValue, stored);
        FakeProbe probe;
        EXPECT_EQ(PlanExplorerLaunch(ReadLaunchSettings(reg), probe).problem, problem)
            << testing::PrintToString(std::wstring(stored));
    }
    FakeProbe probe;
    const ExplorerLaunch blanks = PlanExplorerLaunch({L"", L"  C:\\windows "}, probe);
    EXPECT_EQ(blanks.commandLine, L"explorer.exe /e,\"C:\\windows\"");
    EXPECT_EQ(PlanExplorerLaunch({L"", L" "}, probe).commandLine, L"explorer.exe /e,");
    const std::wstring missing = FolderProblemText(PlanExplorerLaunch({L"", L" C:\\gone"}, probe));
    EXPECT_EQ(missing.rfind(L"The folder C:\\gone does not exist.", 0), 0u) << testing::PrintToString(missing);
    const std::wstring file = FolderProblemText(PlanExplorerLaunch({L"", L"C:\\notes.txt"}, probe));
    EXPECT_EQ(file.rfind(L"C:\\notes.txt is a file, not a folder.", 0), 0u) << testing::PrintToString(file);
    const std::pair<const wchar_t*, const wchar_t*> refused[] = {
        {L"\\\\.\\C:\\x", L"\\\\.\\C:\\x is a device path"}, {L"http://x", L"http://x is an address, not a folder"},
        {L"x", L"x is not the full path of a folder"}};
    for (const auto& [folder, start] : refused) {
        const std::wstring text = FolderProblemText(PlanExplorerLaunch({L"", folder}, probe));
        EXPECT_EQ(text.rfind(start, 0), 0u) << testing::PrintToString(text);
    }
}

TEST(ExplorerCommand, WhatKindOfFolderTextItIs) {
    using Kind = FolderTextKind;
    const std::pair<const wchar_t*, Kind> cases[] = {
        {L"", Kind::Empty}, {L"C:\\x", Kind::Drive}, {L"c:", Kind::Drive}, {L"C:/x", Kind::Drive},
        {L"C:x", Kind::NotFull}, {L"C:..\\x", Kind::NotFull}, {L"\\x", Kind::NotFull}, {L"/x", Kind::NotFull},
        {L"\\??\\C:\\x", Kind::NotFull}, {L"x\\y", Kind::NotFull}, {L"\\\\", Kind::NotFull}, {L":x", Kind::NotFull},
        {L"\\\\server\\share", Kind::Network}, {L"//server/share", Kind::Network}, {L"\\/server", Kind::Network},
        {L"\\\\?\\C:\\windows\\notepad.exe", Kind::DevicePath}, {L"\\\\.\\C:", Kind::DevicePath},
        {L"//?/C:/x", Kind::DevicePath}, {L"\\\\?\\UNC\\server\\share", Kind::DevicePath}, {L"/\\.\\pipe", Kind::DevicePath},
        {L"file:///C:/windows/notepad.exe", Kind::Address}, {L"FILE:C:\\x", Kind::Address},
        {L"http://example.invalid/", Kind::Address}, {L"ms-settings:", Kind::Address}, {L"a+b.c-1:x", Kind::Address},
        {L"x9:", Kind::Address}, {L"x0:", Kind::Address}, {L"shell:Personal", Kind::ShellName},
        {L"SHELL:::{1}", Kind::ShellName}, {L"shel:x", Kind::Address}, {L"chell:x", Kind::Address}, {L"shell", Kind::NotFull}, {L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", Kind::ShellName},
        {L"1http:x", Kind::NotFull}, {L"ht tp:x", Kind::NotFull}, {L"ht_tp:x", Kind::NotFull},
    };
    for (const auto& [text, kind] : cases)
        EXPECT_EQ(ClassifyFolderText(text), kind) << testing::PrintToString(std::wstring(text));
}

TEST(ExplorerCommand, BrowseStartsAtTheNearestFolderAndLooksAtNoShareNotConnected) {
    const std::wstring kLocal = L"C:\\Users\\ann";
    const struct {
        const wchar_t* text;
        const wchar_t* start;
        std::vector<std::wstring> examined;
    } cases[] = {
        {L" C:\\windows ", L"C:\\windows", {L"C:\\windows"}},
        {L"C:\\windows\\gone\\deeper\\", L"C:\\windows", {L"C:\\windows\\gone\\deeper", L"C:\\windows\\gone", L"C:\\windows"}},
        {L"%USERPROFILE%\\Documents\\x", L"C:\\Users\\ann\\Documents", {L"C:\\Users\\ann\\Documents\\x", L"C:\\Users\\ann\\Documents"}},
        {L"C:\\gone", L"C:\\", {L"C:\\gone", L"C:\\"}},
        {L"C:", L"C:\\", {L"C:\\"}},
        {L"q:\\a\\b", kLocal.c_str(), {L"q:\\a\\b", L"q:\\a", L"q:\\"}},
        {L"N:\\x\\gone", L"N:\\x", {L"N:\\x\\gone", L"N:\\x"}},
        {L"M:\\x", kLocal.c_str(), {}},
        {L"\\\\srv\\on\\x\\gone", L"\\\\srv\\on\\x", {L"\\\\srv\\on\\x\\gone", L"\\\\srv\\on\\x"}},
        {L"\\\\srv\\on\\gone", L"\\\\srv\\on", {L"\\\\srv\\on\\gone", L"\\\\srv\\on"}},
        {L"\\\\srv\\off\\x", kLocal.c_str(), {}},
        {L"\\\\srv\\lost\\x", kLocal.c_str(), {L"\\\\srv\\lost\\x", L"\\\\srv\\lost"}},
        {L"\\\\srv\\onward", kLocal.c_str(), {L"\\\\srv\\onward"}},
        {L"\\\\gone\\share", kLocal.c_str(), {}},
        {L"\\\\srv", kLocal.c_str(), {}},
        {L"\\\\srv\\\\x", kLocal.c_str(), {}},
        {L"\\\\\\srv\\on", kLocal.c_str(), {}},
        {L"", kLocal.c_str(), {}},
        {L"relative", kLocal.c_str(), {}},
        {L"file://srv/on", kLocal.c_str(), {}},
        {L"\\\\?\\UNC\\srv\\on", kLocal.c_str(), {}},
    };
    for (const auto& c : cases) {
        FakeProbe probe;
        EXPECT_EQ(BrowseStartFolder(c.text, probe, kLocal), c.start) << testing::PrintToString(std::wstring(c.text));
        EXPECT_EQ(probe.examined, c.examined) << testing::PrintToString(std::wstring(c.text));
    }
}
