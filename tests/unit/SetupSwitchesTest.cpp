#include <gtest/gtest.h>

#include "SetupTexts.h"
#include "Switches.h"

using namespace setup;

TEST(SetupSwitches, ReadsWhatDeploymentToolsPass) {
    struct Case {
        std::vector<std::wstring> arguments;
        bool ok = false;
        bool silent = false, autostart = false, uninstall = false, help = false;
        std::optional<std::wstring> folder = std::nullopt, log = std::nullopt;
    } cases[] = {
        {{}, true, false, false, false, false, std::nullopt, std::nullopt},
        {{L"/S"}, true, true, false, false, false, std::nullopt, std::nullopt},
        {{L"-s", L"/dir=C:\\Program Files\\Tolvane", L"/AutoStart"}, true, true, true, false, false,
         L"C:\\Program Files\\Tolvane", std::nullopt},
        {{L"/UNINSTALL", L"/S", L"/LOG=C:\\logs\\t v.log"}, true, true, false, true, false, std::nullopt,
         L"C:\\logs\\t v.log"},
        {{L"/?"}, true, false, false, false, true, std::nullopt, std::nullopt},
        {{L"/DIR=D:\\T=1"}, true, false, false, false, false, L"D:\\T=1", std::nullopt},
        // As CommandLineToArgvW splits "/DIR=C:\My Tools\" /S and the like.
        {{L"/DIR=C:\\My Tools\" /S"}, true, true, false, false, false, L"C:\\My Tools\\", std::nullopt},
        {{L"/DIR=C:\\My Tools\" /S  /LOG=C:\\x.txt"}, true, true, false, false, false, L"C:\\My Tools\\",
         L"C:\\x.txt"},
        {{L"/S", L"/DIR=C:\\My Tools\""}, true, true, false, false, false, L"C:\\My Tools\\", std::nullopt},
        {{L"/DIR=C:\\a\" /LOG=C:\\b\" /S"}, true, true, false, false, false, L"C:\\a\\", L"C:\\b\\"},
        {{L"/DIR=C:\\a\"b"}, false},
        {{L"/DIR=C:\\a\" /S /S"}, false},
        {{L"/Q"}, false},
        {{L"/DIR"}, false},
        {{L"/DIR="}, false},
        {{L"/DIR=  "}, false},
        {{L"/DIR=C:\\a", L"/DIR=C:\\b"}, false},
        {{L"/S", L"/s"}, false},
        {{L"C:\\Tolvane"}, false},
        {{L"/"}, false},
        {{L"/SILENT"}, false},
        {{L"/UNINSTALL", L"/AUTOSTART"}, false},
        {{L"/UNINSTALL", L"/DIR=C:\\Tolvane"}, false},
    };
    for (const Case& c : cases) {
        const SwitchesOrError parsed = ParseSwitches(c.arguments);
        const std::string name = testing::PrintToString(c.arguments);
        EXPECT_EQ(parsed.error.empty(), c.ok) << name << ": " << testing::PrintToString(parsed.error);
        if (!c.ok) continue;
        const Switches& s = parsed.switches;
        EXPECT_EQ(s.silent, c.silent) << name;
        EXPECT_EQ(s.autostart, c.autostart) << name;
        EXPECT_EQ(s.uninstall, c.uninstall) << name;
        EXPECT_EQ(s.help, c.help) << name;
        EXPECT_EQ(s.folder, c.folder) << name;
        EXPECT_EQ(s.log, c.log) << name;
    }
    // A refused command line stays silent when /S follows the bad switch.
    EXPECT_TRUE(ParseSwitches({L"/Q", L"/S"}).switches.silent);
}

TEST(SetupSwitches, TheFirstBadArgumentIsNamed) {
    const struct {
        std::vector<std::wstring> arguments;
        const wchar_t* named;
    } cases[] = {
        {{L"/Q", L"/R"}, L"\"/Q\": unknown switch"},
        {{L"/LOG", L"/DIR"}, L"\"/LOG\": needs \"=\" and a value"},
        {{L"/S", L"/dir"}, L"\"/dir\": needs \"=\" and a value"},
        {{L"/S", L"/DIR=C:\\a", L"/DIR=C:\\b", L"/X"}, L"\"/DIR=C:\\b\": given twice"},
        {{L"/DIR=C:\\a", L"/UNINSTALL", L"/Q"}, L"\"/UNINSTALL\": not with /DIR= or /AUTOSTART"},
        {{L"/UNINSTALL", L"/AUTOSTART", L"/Q"}, L"\"/AUTOSTART\": not with /UNINSTALL"},
        {{L"/UNINSTALL", L"/S", L"/DIR=C:\\a"}, L"\"/DIR=C:\\a\": not with /UNINSTALL"},
        {{L"/DIR=C:\\My Tools\" /Q /S"}, L"\"/Q\": unknown switch"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseSwitches(c.arguments).error, c.named) << testing::PrintToString(c.arguments);
}

// Each switch on a line of its own, its explanation indented below it in
// lines short enough that a narrow message box does not wrap them.
TEST(SetupSwitches, TheListNamesEverySwitchAndExitCodeInAlignedLines) {
    const struct {
        Language language;
        const wchar_t* folder;
        const wchar_t* file;
    } languages[] = {{Language::English, L"/DIR=folder", L"/LOG=file"}, {Language::German, L"/DIR=Ordner", L"/LOG=Datei"}};
    for (const auto& [language, folder, file] : languages) {
        const std::wstring help = TextIn(language, TextId::SwitchesHelp);
        for (const int code : {kExitSuccess, kExitFailed, kExitLogFailed, kExitBadSwitch})
            EXPECT_NE(help.find(L"\n      " + std::to_wstring(code) + L" "), std::wstring::npos) << code;
        for (const wchar_t* name : {L"/S", folder, L"/AUTOSTART", L"/UNINSTALL", file, L"/?"})
            EXPECT_NE(help.find(std::wstring(L"\n") + name + L"\n      "), std::wstring::npos) << name;
        EXPECT_NE(help.find(L"(UTF-8)"), std::wstring::npos) << "the log's encoding";
        std::size_t start = 0;
        for (std::size_t end = help.find(L'\n'); start < help.size(); end = help.find(L'\n', start)) {
            const std::wstring line = help.substr(start, end - start);
            EXPECT_LE(line.size(), 38u) << testing::PrintToString(line);
            EXPECT_TRUE(line.empty() || line[0] != L' ' || line.rfind(L"      ", 0) == 0) << testing::PrintToString(line);
            start = end == std::wstring::npos ? help.size() : end + 1;
        }
    }
}

