#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "SetupFakes.h"
#include "Flow.h"
#include "InstallTexts.h"
#include "SetupTexts.h"
#include "MemoryRegistry.h"
#include "RegistryLayout.h"

using namespace setup;
using namespace testing_support;

namespace {

// The titles as the English table has them, which tests and docs rely on.
const std::wstring kFinishedTitle = L"Installation finished!";
const std::wstring kNotStartedTitle = L"Tolvane not started";
const std::wstring kNotFinishedTitle = L"Installation not finished";
const std::wstring kUninstalledTitle = L"Uninstallation finished!";
const std::wstring kUninstallNotFinishedTitle = L"Uninstallation not finished";

// A case in German: the window and its messages speak German, the log English.
struct InLanguage {
    explicit InLanguage(Language language) { UseLanguage(language); }
    ~InLanguage() { UseLanguage(Language::English); }
};


// A log file that takes lines until a disk fills up after `room` of them,
// and loses the line numbered `lost` (from 0) while the others are written.
struct FakeLog final : Log {
    std::vector<std::wstring> lines;
    std::size_t room = 1000;
    std::size_t lost = 1000;
    std::size_t tried = 0;
    winkit::Win32Result Write(const std::wstring& line) override {
        if (lines.size() >= room || tried++ == lost) return winkit::Win32Result::Failure(112, L"Could not write to the log");
        lines.push_back(line);
        return {};
    }
    bool Holds(const std::wstring& part) const {
        return std::any_of(lines.begin(), lines.end(), [&part](const std::wstring& line) { return Contains(line, part); });
    }
};

// The window's side of the flow: it is told, and starts the launcher as the
// desktop's user (or finds no desktop).
struct WindowFront final : Front, UserStarter {
    bool desktop = true;
    bool yes = true;  // the answer to a question
    long startError = 0;
    std::vector<std::wstring> titles;
    std::vector<std::wstring> texts;
    std::vector<StartCommand> starts;
    void Tell(const std::wstring& text, const wchar_t* title) override {
        texts.push_back(text);
        titles.push_back(title);
    }
    bool Ask(const std::wstring& text, const wchar_t* title) override {
        texts.push_back(text);
        titles.push_back(title);
        return yes;
    }
    UserStarter* Starter() override { return this; }
    bool Available() override { return desktop; }
    winkit::Win32Result Start(const StartCommand& start) override {
        starts.push_back(start);
        return {startError, L"start"};
    }
};

void Arrange(FakeDisk& disk, bool userFolder, bool launcherInUse) {
    if (userFolder) disk.Folder(L"C:\\Tolvane", kUsersOwn);
    if (launcherInUse) {
        disk.Folder(L"C:\\Tolvane");
        disk.File(L"C:\\Tolvane\\Tolvane.exe", "old").writeError = winkit::kErrorSharingViolation;
    }
}

InstallRequest Default(bool autostart = false) { return {kInitialFolderText, autostart}; }

}  // namespace

// The log of a silent run says what the window's message says, without what
// to press in a window.
TEST(Flow, SilentRunsMakeTheWindowsChecksAndStepsWithAnExitCodeAndALog) {
    const struct {
        const char* name;
        InstallRequest request;
        bool userFolder;
        bool launcherInUse;
        int exitCode;
        bool installed;
        std::vector<std::wstring> logged;  // lines hold these
        const wchar_t* notLogged;          // no line holds this
        const wchar_t* refusedValue = nullptr;
        const wchar_t* lastLine = nullptr;  // the result, exactly
        const wchar_t* package = nullptr;   // a product listed under the MSI package's UpgradeCode
        bool package64 = true;              // in the system's own view, where Windows Installer keeps the list
    } cases[] = {
        {"default folder", Default(true), false, false, kExitSuccess, true,
         {L"Wrote HKEY_LOCAL_MACHINE\\software\\microsoft\\windows\\currentversion\\run \"Tolvane\"",
          L"Tolvane was not started: it starts at each user's next logon",
          L"Copied C:\\Downloads\\Tolvane.exe to C:\\Tolvane\\Tolvane.exe",
          L"Copied C:\\Downloads\\Setup.exe to C:\\Tolvane\\Setup.exe"},
         L"Refused", nullptr, L"Result: 0 installed"},
        {"without autostart nothing is said of the next logon", Default(), false, false, kExitSuccess, true,
         {L"Tolvane was not started: a silent installation starts nothing"}, L"logon"},
        {"relative folder", {L"Tolvane\\"}, false, false, kExitBadSwitch, false,
         {L"Result: 1639 the folder cannot be used: \"Tolvane\\\" is not a full path", L"A relative folder depends"},
         L"Copied"},
        {"missing parent", {L"C:\\Missing\\Tolvane"}, false, false, kExitFailed, false, {}, L"press Install", nullptr,
         L"Result: 1603 not installed: Installation stopped: the folder could not be created. Folder: "
         L"C:\\Missing\\Tolvane; Reason: <reason 3> Setup creates one folder level only; the folder above it must "
         L"exist. Nothing was changed."},
        {"users' folder refused", {L"C:\\Tolvane\\"}, true, false, kExitFailed, false,
         {L"already exists and users without administrator rights can change it"}, L"Copied"},
        {"launcher running", Default(), false, true, kExitFailed, false, {L"is in use"}, L"Wrote"},
        {"one value refused", Default(), false, false, kExitFailed, false,
         {L"Refused: HKEY_LOCAL_MACHINE\\software\\Varnholt\\Tolvane \"Pfad\"",
          L"Undone: remove the value HKEY_LOCAL_MACHINE\\software\\Varnholt\\Tolvane \"Modus\"",
          L"Undone: remove the folder C:\\Tolvane", L"registry entries: HKEY_LOCAL_MACHINE\\"},
         L"Refused: HKEY_LOCAL_MACHINE\\software\\Varnholt\\Tolvane \"Modus\"", L"Pfad"},
        // One installation per computer: the package's is named, and nothing is done.
        {"the MSI package installed", Default(true), false, false, kExitFailed, false, {}, L"Created", nullptr,
         L"Result: 1603 not installed: Installation stopped: Tolvane's MSI package is already installed. Please remove "
         L"it first, in Programs and Features or with msiexec /x {3206985A-5D1E-5A12-898B-EC08F0DC0BA2}",
         L"A5896023E1D521A598B8CE800FCDB02A"},
        {"a product code Setup cannot unpack is named as listed", Default(), false, false, kExitFailed, false,
         {L"msiexec /x 1234"}, L"Copied", nullptr, nullptr, L"1234"},
        {"the list in the 32-bit view is not Windows Installer's", Default(), false, false, kExitSuccess, true, {},
         L"MSI", nullptr, nullptr, L"A5896023E1D521A598B8CE800FCDB02A", false},
    };
    for (const auto& c : cases) {
        FakeDisk disk;
        Arrange(disk, c.userFolder, c.launcherInUse);
        MemoryRegistry reg;
        FakeRestartManager manager;
        FakeLaunchers desktop;
        if (c.refusedValue) reg.RefuseValue(c.refusedValue);
        if (c.package) {
            const std::wstring key = L"Software\\Classes\\Installer\\UpgradeCodes\\A1C3E1B5F2D7B8E4C916F0A4D2B7E935";
            reg.PutString(c.package64 ? MachinePolicy(key) : key, c.package, L"");
        }
        FakeLog log;
        SilentFront silent;
        const FlowResult result = InstallFlow(c.request, kSources, disk, reg, {manager, desktop}, silent, log, Reason);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name;
        EXPECT_EQ(reg.HasKey(registry::kUninstallKey), c.installed) << c.name;
        EXPECT_EQ(reg.HasValue(registry::kRunKey, L"Tolvane"), c.installed && c.request.autostart) << c.name;
        ASSERT_FALSE(log.lines.empty()) << c.name;
        EXPECT_EQ(log.lines.back().rfind(L"Result: " + std::to_wstring(c.exitCode), 0), 0u) << c.name;
        for (const auto& part : c.logged)
            EXPECT_TRUE(log.Holds(part)) << c.name << ": " << testing::PrintToString(part) << " in "
                                         << testing::PrintToString(log.lines);
        EXPECT_FALSE(log.Holds(c.notLogged)) << c.name;
        if (c.lastLine) {
            EXPECT_EQ(log.lines.back(), c.lastLine) << c.name;
        }
    }
}

TEST(Flow, TheWindowTellsAndStartsTheLauncherOnlyAsTheDesktopsUser) {
    const struct {
        const char* name;
        std::function<void(FakeDisk&, WindowFront&)> arrange;
        const wchar_t* typed;
        Outcome outcome;
        std::vector<std::wstring> titles;
        std::size_t starts;
        const wchar_t* lastLine;
        std::vector<std::wstring> told;  // the first message holds these
        Language language = Language::English;
    } cases[] = {
        {"installed and started", [](FakeDisk&, WindowFront&) {}, L"C:\\Tolvane\\", Outcome::Installed,
         {kFinishedTitle}, 1, L"Result: 0 installed",
         {L"Installation is finished. Tolvane will now be run. See C:\\Tolvane\\Readme.txt for more information"}},
        {"no desktop", [](FakeDisk&, WindowFront& w) { w.desktop = false; }, L"C:\\Tolvane\\", Outcome::Installed,
         {kFinishedTitle}, 0, L"Result: 0 installed",
         {L"start Tolvane from its folder, C:\\Tolvane\\", L"See C:\\Tolvane\\Readme.txt"}},
        {"start refused", [](FakeDisk&, WindowFront& w) { w.startError = 193; }, L"C:\\Tolvane\\",
         Outcome::InstalledNotStarted, {kFinishedTitle, kNotStartedTitle}, 1, L"Result: 0 installed", {L"finished"}},
        {"folder refused", [](FakeDisk&, WindowFront&) {}, L"", Outcome::FolderRefused, {kNotFinishedTitle}, 0,
         L"Result: 1639 the folder cannot be used", {L"Please type the folder"}},
        {"users' folder", [](FakeDisk& d, WindowFront&) { Arrange(d, true, false); }, L"C:\\Tolvane",
         Outcome::Failed, {kNotFinishedTitle}, 0, L"Result: 1603 not installed",
         {L"Choose a folder that does not exist yet", L"Nothing was changed.\n\nPlease type a new folder and press "
                                                      L"Install again."}},
        {"launcher running", [](FakeDisk& d, WindowFront&) { Arrange(d, false, true); }, L"C:\\Tolvane\\",
         Outcome::Failed, {kNotFinishedTitle}, 0, L"Result: 1603 not installed", {L"is in use", L"Exit Tolvane"}},
        {"installed and started, German", [](FakeDisk&, WindowFront&) {}, L"C:\\Tolvane\\", Outcome::Installed,
         {L"Installation abgeschlossen!"}, 1, L"Result: 0 installed",
         {L"Die Installation ist abgeschlossen. Tolvane wird jetzt gestartet. Mehr \u00FCber das Programm steht in "
          L"C:\\Tolvane\\Liesmich.txt."},
         Language::German},
        {"no desktop, German", [](FakeDisk&, WindowFront& w) { w.desktop = false; }, L"C:\\Tolvane\\",
         Outcome::Installed, {L"Installation abgeschlossen!"}, 0,
         L"Result: 0 installed", {L"aus seinem Ordner, C:\\Tolvane\\."}, Language::German},
        {"folder refused, German: the log stays English", [](FakeDisk&, WindowFront&) {}, L"",
         Outcome::FolderRefused, {L"Installation nicht abgeschlossen"}, 0,
         L"Result: 1639 the folder cannot be used: Please type the folder", {L"Geben Sie bitte den Ordner ein"},
         Language::German},
        {"launcher running, German", [](FakeDisk& d, WindowFront&) { Arrange(d, false, true); }, L"C:\\Tolvane\\",
         Outcome::Failed, {L"Installation nicht abgeschlossen"}, 0, L"Result: 1603 not installed: Installation stopped",
         {L"wird verwendet", L"\u201ETolvane beenden\u201C), und klicken Sie erneut auf \u201EInstallieren\u201C."},
         Language::German},
        {"start refused, German", [](FakeDisk&, WindowFront& w) { w.startError = 193; }, L"C:\\Tolvane\\",
         Outcome::InstalledNotStarted, {L"Installation abgeschlossen!", L"Tolvane nicht gestartet"}, 1,
         L"Result: 0 installed", {L"abgeschlossen"}, Language::German},
    };
    for (const auto& c : cases) {
        const InLanguage language(c.language);
        FakeDisk disk;
        WindowFront window;
        c.arrange(disk, window);
        MemoryRegistry reg;
        FakeRestartManager manager;
        FakeLaunchers desktop;
        FakeLog log;
        const FlowResult result = InstallFlow({c.typed, false}, kSources, disk, reg, {manager, desktop}, window, log, Reason);
        EXPECT_EQ(result.outcome, c.outcome) << c.name;
        EXPECT_EQ(window.titles, c.titles) << c.name;
        EXPECT_EQ(window.starts.size(), c.starts) << c.name << ": never started by Setup itself";
        ASSERT_FALSE(log.lines.empty()) << c.name;
        EXPECT_EQ(log.lines.front(), std::wstring(L"Install to ") + c.typed) << c.name;
        EXPECT_EQ(log.lines.back().rfind(c.lastLine, 0), 0u) << c.name << ": " << testing::PrintToString(log.lines.back());
        ASSERT_FALSE(window.texts.empty()) << c.name;
        for (const auto& part : c.told)
            EXPECT_TRUE(Contains(window.texts[0], part)) << c.name << ": " << testing::PrintToString(window.texts[0]);
        if (c.starts == 1) {
            EXPECT_EQ(window.starts[0].programPath, L"C:\\Tolvane\\Tolvane.exe") << c.name;
            EXPECT_TRUE(Contains(log.lines[log.lines.size() - 2], window.startError ? L"Could not start" : L"Started"))
                << c.name;
        }
    }
}

TEST(Flow, ShortNamesAreExpandedBeforeAnythingIsWritten) {
    FakeDisk disk;
    disk.Folder(L"C:\\Program Files", testing_support::kWindowsRoot);
    disk.shortNames[L"c:\\progra~1"] = L"C:\\Program Files";
    MemoryRegistry reg;
    FakeRestartManager manager;
    FakeLaunchers desktop;
    FakeLog log;
    SilentFront silent;
    ASSERT_EQ(InstallFlow({L"C:\\PROGRA~1\\Tolvane", true}, kSources, disk, reg, {manager, desktop}, silent, log, Reason).exitCode,
              kExitSuccess);
    EXPECT_EQ(reg.StoredText(registry::kRunKey, L"Tolvane"), L"\"C:\\Program Files\\Tolvane\\Tolvane.exe\"");
    EXPECT_EQ(reg.StoredText(registry::kUninstallKey, L"InstallLocation"), L"C:\\Program Files\\Tolvane\\");
    EXPECT_TRUE(log.Holds(L"Created the folder C:\\Program Files\\Tolvane,"));
}

// Installed in C:\Old\ with autostart; Install again.
TEST(Flow, AnotherFolderMovesTheInstallationAfterAskingAndTheSameFolderIsUpdated) {
    const struct {
        const char* name;
        bool silent;
        bool yes;
        const wchar_t* typed;
        std::function<void(FakeRestartManager&, FakeLaunchers&)> arrange;
        int exitCode;
        const wchar_t* location;  // InstallLocation afterwards
        std::vector<std::wstring> ended;  // the programs the launchers were ended for
        std::size_t starts;               // by Setup on this desktop
        std::vector<std::wstring> logged;
        const wchar_t* told;  // the last message ends so
        const wchar_t* asked = L"Tolvane is installed in C:\\Old\\.\n\nMove it to C:\\New\\?";
        Language language = Language::English;
    } cases[] = {
        {"window, Yes", false, true, L"C:\\New\\", [](FakeRestartManager&, FakeLaunchers& d) { d.answer = {1, 0}; },
         kExitSuccess, L"C:\\New\\", {L"C:\\New\\Tolvane.exe", L"C:\\Old\\Tolvane.exe"}, 1,
         {L"Moving the installation from C:\\Old\\", L"Tolvane was running on this desktop; Setup has ended it.",
          L"Removed HKEY_LOCAL_MACHINE\\software\\microsoft\\windows\\currentversion\\run \"Tolvane\""},
         L"\n\nMoved from C:\\Old\\: its files stay there, as Uninstall leaves them."},
        {"window, No", false, false, L"C:\\New\\", [](FakeRestartManager&, FakeLaunchers&) {}, kExitUserExit,
         L"C:\\Old\\", {}, 0, {L"Result: 1602 not installed: the installation stays where it is"}, L"files stay."},
        {"silent: no question, logged", true, false, L"C:\\New", [](FakeRestartManager&, FakeLaunchers&) {},
         kExitSuccess, L"C:\\New\\", {L"C:\\New\\Tolvane.exe", L"C:\\Old\\Tolvane.exe"}, 0,
         {L"Moving the installation from C:\\Old\\", L"Moved from C:\\Old\\: its files stay"}, nullptr},
        {"the same folder in other letters: updated in place, restarted by the Restart Manager", false, true,
         L"c:\\old", [](FakeRestartManager& m, FakeLaunchers&) { m.users = 1, m.inThisSession = true; }, kExitSuccess,
         L"c:\\old\\", {L"c:\\old\\Tolvane.exe"}, 0, {L"The Restart Manager's start of Tolvane: <reason 0>"},
         L"for more information on the program."},
        {"the same folder under Wine: ended and started by Setup", false, true, L"C:\\Old",
         [](FakeRestartManager&, FakeLaunchers& d) { d.answer = {1, 0}; }, kExitSuccess, L"C:\\Old\\",
         {L"C:\\Old\\Tolvane.exe"}, 1, {L"Setup has ended it.", L"Started C:\\Old\\Tolvane.exe"},
         L"for more information on the program."},
        {"window, Yes, German: the log stays English", false, true, L"C:\\New\\",
         [](FakeRestartManager&, FakeLaunchers& d) { d.answer = {1, 0}; }, kExitSuccess, L"C:\\New\\",
         {L"C:\\New\\Tolvane.exe", L"C:\\Old\\Tolvane.exe"}, 1,
         {L"Moving the installation from C:\\Old\\", L"Tolvane was running on this desktop; Setup has ended it.",
          L"Moved from C:\\Old\\: its files stay there, as Uninstall leaves them."},
         L"Liesmich.txt.\n\nAus C:\\Old\\ verschoben: Die Dateien bleiben dort, wie die Deinstallation sie l\u00E4sst.",
         L"Tolvane ist in C:\\Old\\ installiert.\n\nNach C:\\New\\ verschieben?", Language::German},
    };
    for (const auto& c : cases) {
        const InLanguage language(c.language);
        FakeDisk disk;
        disk.Folder(L"C:\\Old");
        disk.File(L"C:\\Old\\Tolvane.exe", "old");
        MemoryRegistry reg;
        reg.PutString(registry::kUninstallKey, L"InstallLocation", L"C:\\Old\\");
        reg.PutString(registry::kRunKey, L"Tolvane", L"C:\\Old\\Tolvane.exe");
        FakeRestartManager manager;
        FakeLaunchers desktop;
        c.arrange(manager, desktop);
        WindowFront window;
        window.yes = c.yes;
        SilentFront silent;
        FakeLog log;
        const FlowResult result = InstallFlow({c.typed, false}, kSources, disk, reg, {manager, desktop},
                                              c.silent ? static_cast<Front&>(silent) : window, log, Reason);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name;
        EXPECT_EQ(reg.StoredText(registry::kUninstallKey, L"InstallLocation"), c.location) << c.name;
        const bool moved = c.exitCode == kExitSuccess && c.ended.size() == 2;
        EXPECT_EQ(reg.HasValue(registry::kRunKey, L"Tolvane"), !moved) << c.name << ": a repair keeps it";
        EXPECT_EQ(disk.Exists(L"C:\\New"), moved) << c.name;
        EXPECT_EQ(desktop.programs, c.ended) << c.name;
        EXPECT_EQ(window.starts.size(), c.starts) << c.name;
        for (const auto& part : c.logged)
            EXPECT_TRUE(log.Holds(part)) << c.name << ": " << testing::PrintToString(part) << " in "
                                         << testing::PrintToString(log.lines);
        EXPECT_EQ(window.texts.empty(), c.silent) << c.name;
        if (!c.silent) {
            EXPECT_EQ(Contains(window.texts[0], c.asked),
                      c.ended.size() != 1)
                << c.name << ": asked only for another folder";
            const std::wstring& last = window.texts.back();
            const std::wstring end = c.told;
            EXPECT_TRUE(last.size() >= end.size() && last.compare(last.size() - end.size(), end.size(), end) == 0)
                << c.name << ": " << testing::PrintToString(last);
        }
    }
}

TEST(Flow, ALogThatLostLinesIsNoSuccess) {
    const struct {
        const char* name;
        std::size_t room;
        bool launcherInUse;
        int exitCode;
        std::size_t lost = 1000;
    } cases[] = {
        {"every line written", 1000, false, kExitSuccess},
        {"full after the first line", 1, false, kExitLogFailed},
        {"only the result lost", 19, false, kExitLogFailed},
        {"a failed step says more", 1, true, kExitFailed},
        {"one line lost, the later ones could be written", 1000, false, kExitLogFailed, 1},
    };
    for (const auto& c : cases) {
        FakeDisk disk;
        Arrange(disk, false, c.launcherInUse);
        MemoryRegistry reg;
        FakeRestartManager manager;
        FakeLaunchers desktop;
        FakeLog log;
        log.room = c.room;
        log.lost = c.lost;
        WindowFront window;
        const FlowResult result = InstallFlow(Default(true), kSources, disk, reg, {manager, desktop}, window, log, Reason);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name;
        EXPECT_LE(log.lines.size(), c.room) << c.name << ": nothing is written after the failure";
        EXPECT_EQ(Contains(window.texts.back(), L"The log is incomplete: Could not write to the log.\nReason: <reason 112>"),
                  c.exitCode != kExitSuccess)
            << c.name;
    }
}

TEST(Flow, UninstallEndsTheLaunchersTellsLogsAndReportsARefusalByItsExitCode) {
    const struct {
        const char* name;
        RunningLaunchers::Ended launchers;
        bool refuse;
        int exitCode;
        const wchar_t* told;    // the message ends so ("" : the plain message)
        const wchar_t* logged;  // a line holds this
        Language language = Language::English;
    } cases[] = {
        {"none running", {}, false, kExitSuccess, L"delete the files manually.", L"Result: 0 uninstalled"},
        {"one ended", {1, 0}, false, kExitSuccess, L"manually.\n\nTolvane was running on this desktop; Setup has ended it.",
         L"Setup has ended it"},
        {"one did not end", {0, 1}, false, kExitSuccess, L"then \"Exit Tolvane\").", L"Tolvane is still running"},
        {"refused", {1, 0}, true, kExitFailed, L"Setup has ended it.", L"Result: 1603 not uninstalled: Windows refused"},
        {"one ended, German", {1, 0}, false, kExitSuccess,
         L"von Hand.\n\nTolvane lief auf diesem Desktop; Setup hat es beendet.", L"Setup has ended it",
         Language::German},
        {"one did not end, German", {0, 1}, false, kExitSuccess, L"dann \u201ETolvane beenden\u201C).",
         L"Tolvane is still running", Language::German},
    };
    for (const auto& c : cases) {
        const InLanguage language(c.language);
        MemoryRegistry reg;
        reg.PutString(registry::kUninstallKey, L"DisplayName", L"Varnholt Tolvane");
        // A subkey, as a tool may add one: Windows refuses to delete a key that has subkeys.
        reg.PutString(std::wstring(registry::kSettingsKey) + L"\\Extra\\Deeper", L"X", L"1");
        if (c.refuse) reg.RefuseWrites();
        FakeLaunchers launchers;
        launchers.answer = c.launchers;
        FakeLog log;
        WindowFront window;
        const FlowResult result = UninstallFlow(reg, launchers, kSources.programPath, window, log, Reason);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name;
        EXPECT_EQ(reg.HasKey(registry::kUninstallKey), c.refuse) << c.name;
        EXPECT_EQ(reg.HasKey(registry::kSettingsKey), c.refuse) << c.name;
        ASSERT_EQ(window.texts.size(), 1u) << c.name;
        EXPECT_EQ(window.titles[0], c.language == Language::German ? L"Deinstallation abgeschlossen!"
                                    : c.refuse                       ? kUninstallNotFinishedTitle
                                                                     : kUninstalledTitle)
            << c.name;
        EXPECT_TRUE(window.texts[0].size() >= std::wstring(c.told).size() &&
                    window.texts[0].compare(window.texts[0].size() - std::wstring(c.told).size(), std::wstring::npos,
                                            c.told) == 0)
            << c.name << ": " << testing::PrintToString(window.texts[0]);
        EXPECT_TRUE(log.Holds(c.logged)) << c.name;
    }
    MemoryRegistry reg;
    FakeLaunchers none;
    FakeLog full;
    full.room = 0;
    WindowFront window;
    EXPECT_EQ(UninstallFlow(reg, none, kSources.programPath, window, full, Reason).exitCode, kExitLogFailed);
}

// Setup writes its log with administrator rights: a log another user
// prepared must not make it write elsewhere.
TEST(LogFile, OnlyAFileOfItsOwnAtTheGivenPathIsWritten) {
    const struct {
        const wchar_t* given;
        const wchar_t* full;
        LogFileFacts facts;
        const wchar_t* says;  // nullptr: written
        Language language = Language::English;
    } cases[] = {
        {L"C:\\Logs\\setup.log", L"C:\\Logs\\setup.log", {}, nullptr},
        {L"c:/logs/setup.log", L"c:\\logs\\setup.log", {}, nullptr},
        {L"\\\\server\\logs\\setup.log", L"\\\\server\\logs\\setup.log", {}, nullptr},
        {L"Z:\\setup.log", L"Z:\\setup.log", {}, nullptr},
        {L"\\\\server", L"\\\\server", {}, L"is not a full path"},
        {L"\\\\\\setup.log", L"\\\\\\setup.log", {}, L"is not a full path"},
        {L"", L"", {}, L"is not a full path"},
        {L"\\\\?\\UNC\\server\\logs\\x.log", L"\\\\?\\UNC\\server\\logs\\x.log", {}, L"names a device"},
        {L"setup.log", L"C:\\Downloads\\setup.log", {}, L"\"setup.log\" is not a full path"},
        {L"\\Logs\\setup.log", L"C:\\Logs\\setup.log", {}, L"is not a full path"},
        {L"C:setup.log", L"C:\\Downloads\\setup.log", {}, L"is not a full path"},
        {L"C:\\Logs\\CON", L"\\\\.\\CON", {}, L"names a device or a stream"},
        {L"\\\\.\\PhysicalDrive0", L"\\\\.\\PhysicalDrive0", {}, L"names a device or a stream"},
        {L"\\\\?\\C:\\x.log", L"\\\\?\\C:\\x.log", {}, L"names a device or a stream"},
        {L"C:\\Logs\\setup.log:hidden", L"C:\\Logs\\setup.log:hidden", {}, L"names a device or a stream"},
        {L"\\\\server\\logs\\a:b", L"\\\\server\\logs\\a:b", {}, L"names a device or a stream"},
        {L"C:\\Logs\\setup.log", L"C:\\Logs\\setup.log", {true, 1, L"C:\\Logs\\setup.log", true},
         L"C:\\Logs\\setup.log is a link"},
        {L"C:\\Logs\\setup.log", L"C:\\Logs\\setup.log", {false, 2, L"C:\\Logs\\setup.log", true},
         L"several names of the same file (a hard link)"},
        {L"C:\\Logs\\setup.log", L"C:\\Logs\\setup.log", {false, 1, L"C:\\Windows\\win.ini", false},
         L"C:\\Logs\\setup.log leads to C:\\Windows\\win.ini"},
        {L"\\\\server\\pipe\\log", L"\\\\server\\pipe\\log", {false, 1, L"", false, false},
         L"\\\\server\\pipe\\log is not a file on a disk but a pipe"},
        {L"C:\\Logs\\setup.log", L"C:\\Logs\\setup.log", {true, 2, L"C:\\x", false, false}, L"is not a file on a disk"},
        {L"setup.log", L"C:\\Downloads\\setup.log", {}, L"\u201Esetup.log\u201C ist kein vollst\u00E4ndiger Pfad",
         Language::German},
        {L"C:\\Logs\\setup.log", L"C:\\Logs\\setup.log", {false, 1, L"C:\\Windows\\win.ini", false},
         L"C:\\Logs\\setup.log f\u00FChrt zu C:\\Windows\\win.ini", Language::German},
    };
    for (const auto& c : cases) {
        const InLanguage language(c.language);
        std::optional<std::wstring> refusal = RefuseLogPath(c.given, c.full);
        if (!refusal) refusal = RefuseLogFile(c.full, c.facts);
        EXPECT_EQ(refusal.has_value(), c.says != nullptr) << testing::PrintToString(std::wstring(c.given));
        if (refusal && c.says) {
            EXPECT_TRUE(Contains(*refusal, c.says)) << testing::PrintToString(*refusal);
        }
    }
    EXPECT_TRUE(Contains(LogRefusedText(L"why"), L"will not write its log there, so it has changed nothing.\n\nwhy"));
    EXPECT_TRUE(Contains(LogOpenFailureText({3, L"Could not open the log C:\\x\\t.log"}, Reason),
                         L"changed nothing.\n\nCould not open the log C:\\x\\t.log\nReason: <reason 3>"));
    const InLanguage german(Language::German);
    EXPECT_TRUE(Contains(LogOpenFailureText({3, L"Das Protokoll C:\\t.log konnte nicht ge\u00F6ffnet werden"}, Reason),
                         L"nichts ge\u00E4ndert.\n\nDas Protokoll C:\\t.log konnte nicht ge\u00F6ffnet werden\n"
                         L"Grund: <reason 3>\n\nNennen Sie bitte eine Datei"));
}
