#include <gtest/gtest.h>

#include "Actions.h"
#include "MemoryRegistry.h"
#include "RegistryLayout.h"

using namespace launcher;
using testing_support::MemoryRegistry;

TEST(TrayNotifications, OnlyButtonReleasesOnTheCallbackCount) {
    struct Case {
        unsigned message;
        std::intptr_t lParam;
        TrayResponse expected;
    } cases[] = {
        {1025, 514, TrayResponse::DeferExplorer},
        {1025, 517, TrayResponse::ShowMenu},
        {1025, 512, TrayResponse::Ignore},  // mouse move
        {1025, 513, TrayResponse::Ignore},  // left button down
        {1025, 515, TrayResponse::Ignore},  // double click: its release comes as 514
        {1025, 516, TrayResponse::Ignore},  // right button down
        {1024, 514, TrayResponse::Ignore},  // WM_USER, posted after the menu
        {0x0111, 514, TrayResponse::Ignore},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClassifyTrayNotification(c.message, c.lParam), c.expected) << c.message << "/" << c.lParam;
}

TEST(PendingActionQueue, StartsIdleWithTheTimerRunning) {
    PendingActions actions;
    EXPECT_TRUE(actions.TimerEnabled());
    EXPECT_EQ(actions.Tick(), kActionIdle);
    EXPECT_FALSE(actions.TimerEnabled());
}

TEST(PendingActionQueue, OnlyTheLastTriggerBeforeATickRuns) {
    PendingActions actions;
    actions.Tick();
    actions.Trigger(kActionAbout);
    actions.Trigger(kActionExplorer);
    EXPECT_TRUE(actions.TimerEnabled());
    EXPECT_EQ(actions.Tick(), kActionExplorer);
    EXPECT_FALSE(actions.TimerEnabled());
    EXPECT_EQ(actions.Pending(), kActionExplorer) << "the code stays until overwritten";
    actions.Trigger(kActionSeparator);
    EXPECT_EQ(actions.Tick(), kActionSeparator);
}

TEST(ModeTable, ExactNamesOnly) {
    struct Case {
        const wchar_t* mode;
        std::optional<int> state;
    } cases[] = {
        {L"vbNormalFocus", 1},       {L"vbMinimizedFocus", 2},  {L"vbMaximizedFocus", 3},
        {L"vbNormalNoFocus", 4},     {L"vbnormalfocus", std::nullopt}, {L"VBMAXIMIZEDFOCUS", std::nullopt},
        {L" vbNormalFocus", std::nullopt}, {L"vbNormalFocus ", std::nullopt}, {L"", std::nullopt},
        {L"vbHide", std::nullopt},   {L"1", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShowStateForMode(c.mode), c.state) << "'" << testing::PrintToString(std::wstring(c.mode)) << "'";
        EXPECT_EQ(ExplorerShowState(c.mode), c.state.value_or(1)) << "unknown modes show a normal window";
    }
}

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

TEST(ExplorerCommand, PlannedFromTheStoredSettings) {
    MemoryRegistry reg;
    EXPECT_EQ(PlanExplorerLaunch(reg).commandLine, L"explorer.exe /e,");
    EXPECT_EQ(PlanExplorerLaunch(reg).showState, 1);
    reg.PutString(registry::kSettingsKey, registry::kModeValue, L"vbMaximizedFocus");
    reg.PutString(registry::kSettingsKey, registry::kFolderValue, L"C:\\");
    const ExplorerLaunch launch = PlanExplorerLaunch(reg);
    EXPECT_EQ(launch.commandLine, L"explorer.exe /e,\"C:\\\"");
    EXPECT_EQ(launch.showState, 3);
    reg.PutRaw(registry::kSettingsKey, registry::kModeValue, registry::kTypeDword, {2, 0, 0, 0});
    EXPECT_EQ(PlanExplorerLaunch(reg).showState, 1) << "a number is no mode name";
}

TEST(LauncherPathTest, FixedFileNameInTheProgramFolder) {
    EXPECT_EQ(LauncherPath(L"C:\\Tolvane"), L"C:\\Tolvane\\Tolvane.exe");
    EXPECT_EQ(LauncherPath(L"E:\\"), L"E:\\Tolvane.exe");
    EXPECT_EQ(LauncherPath(L"C:\\Program Files\\Tolvane"), L"C:\\Program Files\\Tolvane\\Tolvane.exe");
}

TEST(Autostart, AnyNonBlankTextCountsAsOn) {
    EXPECT_FALSE(IsAutostartText(std::nullopt));
    EXPECT_FALSE(IsAutostartText(L""));
    EXPECT_FALSE(IsAutostartText(L"   "));
    EXPECT_TRUE(IsAutostartText(L"x"));
    EXPECT_TRUE(IsAutostartText(L"C:\\Other\\Program.exe"));
}

TEST(Autostart, SwitchingTwiceWritesThenRemoves) {
    MemoryRegistry reg;
    reg.PutString(registry::kRunKey, L"SomethingElse", L"C:\\x.exe");
    const std::wstring path = L"C:\\Program Files\\Tolvane\\Tolvane.exe";
    AutostartOutcome on = ToggleAutostart(reg, false, path);
    EXPECT_TRUE(on.status.Ok());
    EXPECT_TRUE(on.checked);
    EXPECT_EQ(reg.StoredText(registry::kRunKey, registry::kRunValue), L"\"" + path + L"\"");
    AutostartOutcome off = ToggleAutostart(reg, true, path);
    EXPECT_TRUE(off.status.Ok());
    EXPECT_FALSE(off.checked);
    EXPECT_FALSE(reg.HasValue(registry::kRunKey, registry::kRunValue));
    EXPECT_TRUE(reg.HasValue(registry::kRunKey, L"SomethingElse")) << "other programs' entries stay";
}

TEST(Autostart, RefusedChangesKeepTheRealState) {
    MemoryRegistry reg;
    reg.RefuseWrites();
    AutostartOutcome on = ToggleAutostart(reg, false, L"C:\\T\\Tolvane.exe");
    EXPECT_EQ(on.status.error, registry::kAccessDenied);
    EXPECT_FALSE(on.checked);

    MemoryRegistry existing;
    existing.PutString(registry::kRunKey, registry::kRunValue, L"C:\\T\\Tolvane.exe");
    existing.RefuseWrites();
    AutostartOutcome off = ToggleAutostart(existing, true, L"C:\\T\\Tolvane.exe");
    EXPECT_EQ(off.status.error, registry::kAccessDenied);
    EXPECT_TRUE(off.checked);
}

TEST(Autostart, FailureTextNamesTheRefusedChange) {
    // wasChecked: the state before the switch, so true means switching off.
    struct Case {
        bool wasChecked;
        long error;
        const wchar_t* says;
        const wchar_t* mustNotSay;
        bool asksForAdministrator;
    } cases[] = {
        {false, registry::kAccessDenied, L"could not add", L"could not remove", true},
        {true, registry::kAccessDenied, L"could not remove", L"could not add", true},
        {false, 1009, L"could not add", L"could not remove", false},  // ERROR_BADDB
        {true, 1009, L"could not remove", L"could not add", false},
    };
    for (const auto& c : cases) {
        const std::wstring text = AutostartFailureText(c.wasChecked, c.error, L"<system reason>");
        const std::string label = testing::PrintToString(text);
        EXPECT_NE(text.find(c.says), std::wstring::npos) << label;
        EXPECT_EQ(text.find(c.mustNotSay), std::wstring::npos) << label;
        EXPECT_NE(text.find(L"<system reason>"), std::wstring::npos) << label;
        EXPECT_EQ(text.find(L"administrator") != std::wstring::npos, c.asksForAdministrator) << label;
    }
}

TEST(Autostart, RemovingAnEntryThatIsAlreadyGoneIsNoFailure) {
    MemoryRegistry reg;
    AutostartOutcome off = ToggleAutostart(reg, true, L"C:\\T\\Tolvane.exe");
    EXPECT_TRUE(off.status.Ok());
    EXPECT_FALSE(off.checked);
}
