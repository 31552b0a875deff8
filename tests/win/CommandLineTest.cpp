// Command texts as Windows itself splits them.
#include <windows.h>
#include <shellapi.h>

#include "MiniTest.h"

#include <string>
#include <vector>

#include "ExplorerLaunch.h"
#include "CommandLine.h"
#include "../unit/CommandLineCases.h"

namespace {

std::vector<std::wstring> Split(const std::wstring& commandLine) {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(commandLine.c_str(), &count);
    std::vector<std::wstring> result(argv, argv + count);
    LocalFree(argv);
    return result;
}

}  // namespace

TEST(ProgramPathQuoting, SurvivesCommandLineToArgvW) {
    const std::wstring paths[] = {
        L"C:\\Tolvane\\Tolvane.exe",
        L"C:\\Program Files\\Tolvane\\Tolvane.exe",
        L"C:\\Program Files (x86)\\Tolvane\\Setup.exe",
        L"D:\\Tools,Old\\Tolvane.exe",
        L"C:\\\u00c4rger \u00df\\Tolvane.exe",
        L"C:\\two  blanks\\Tolvane.exe",
    };
    for (const auto& path : paths) {
        const auto argv = Split(winkit::QuoteProgramPath(path) + L" --next");
        ASSERT_EQ(argv.size(), 2u) << L"split apart: " + path;
        EXPECT_TRUE(argv[0] == path) << argv[0];
        EXPECT_TRUE(argv[1] == L"--next");
    }
}

TEST(ExplorerCommandText, FolderStaysOneArgument) {
    // Explorer reads its switches itself, but the text must still be one
    // argument after "explorer.exe" whatever blanks and commas the folder holds.
    const std::wstring folders[] = {L"C:\\Program Files\\x y", L"C:\\a,b", L"C:\\\u00c4rger \u00df"};
    for (const auto& folder : folders) {
        const auto argv = Split(launcher::ExplorerCommandLine(folder));
        ASSERT_EQ(argv.size(), 2u) << folder;
        EXPECT_TRUE(argv[0] == L"explorer.exe");
        EXPECT_TRUE(argv[1] == L"/e," + folder) << argv[1];
    }
}

TEST(SplitCommandLine, AgreesWithCommandLineToArgvW) {
    for (const auto& c : kCommandLineCases) {
        // For an empty text the system names the running program instead.
        if (c.line[0] != L'\0') EXPECT_TRUE(Split(c.line) == c.arguments) << c.line;
        EXPECT_TRUE(winkit::SplitCommandLine(c.line) == c.arguments) << c.line;
    }
}
