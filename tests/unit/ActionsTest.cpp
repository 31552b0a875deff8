#include <gtest/gtest.h>

#include "Actions.h"
#include "MemoryRegistry.h"
#include "RegistryLayout.h"
#include "resource.h"

#include <vector>

using namespace launcher;
using testing_support::MemoryRegistry;

// A gesture as the shell reports it: the notifications in order, each with the
// icon id in the high word for a version-4 icon.
struct Gesture {
    const char* name;
    bool version4;
    std::vector<unsigned> notifications;
    unsigned iconId;
    TrayGesture gesture;  // what the whole gesture does, exactly once
    bool fromKeyboard;
};

TEST(TrayNotifications, EachGestureActsExactlyOnce) {
    const Gesture cases[] = {
        {"v4 left click", true, {0x200, 0x201, 0x202, kTraySelect}, 125, TrayGesture::OpenExplorer, false},
        {"v4 right click", true, {0x204, 0x205, kTrayContextMenu}, 125, TrayGesture::ShowMenu, false},
        {"v4 Enter or Space", true, {kTrayKeySelect}, 125, TrayGesture::OpenExplorer, true},
        {"v4 Shift+F10 or menu key", true, {kTrayContextMenu}, 125, TrayGesture::ShowMenu, true},
        {"v4 mouse moves", true, {0x200, 0x200}, 125, TrayGesture::None, false},
        {"v4 another icon's select", true, {kTraySelect, kTrayContextMenu}, 126, TrayGesture::None, false},
        {"old shell left click", false, {0x200, 0x201, 0x202}, 0, TrayGesture::OpenExplorer, false},
        {"old shell right click", false, {0x204, 0x205}, 0, TrayGesture::ShowMenu, false},
        {"old shell double click", false, {0x203}, 0, TrayGesture::None, false},
    };
    for (const Gesture& c : cases) {
        TrayNotifications notifications;
        int acted = 0;
        TrayEvent last;
        for (unsigned n : c.notifications) {
            const TrayEvent event = notifications.Classify(c.version4, (std::uintptr_t{c.iconId} << 16) | n);
            if (event.gesture != TrayGesture::None) {
                ++acted;
                last = event;
            }
        }
        EXPECT_EQ(acted, c.gesture == TrayGesture::None ? 0 : 1) << c.name;
        EXPECT_EQ(last.gesture, c.gesture) << c.name;
        EXPECT_EQ(last.fromKeyboard, c.fromKeyboard) << c.name;
    }
}

TEST(TrayNotifications, AKeyboardMenuAfterAMouseOneIsStillTheKeyboards) {
    TrayNotifications notifications;
    for (unsigned n : {0x204u, 0x205u, kTrayContextMenu}) notifications.Classify(true, (125u << 16) | n);
    EXPECT_TRUE(notifications.Classify(true, (125u << 16) | kTrayContextMenu).fromKeyboard);
}

TEST(TrayMenu, EachCommandHasItsAction) {
    EXPECT_EQ(ActionForCommand(IDM_AUTOSTART), kActionAutostart);
    EXPECT_EQ(ActionForCommand(IDM_ABOUT), kActionAbout);
    EXPECT_EQ(ActionForCommand(IDM_SETTINGS), kActionSettings);
    EXPECT_EQ(ActionForCommand(IDM_EXIT), kActionExit);
    EXPECT_EQ(ActionForCommand(IDM_EXPLORER), kActionExplorer);
    EXPECT_EQ(ActionForCommand(0), std::nullopt) << "a dismissed menu";
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

namespace {

// Folders and drives as a test sets them; %USERPROFILE% is the one variable.
class FakeProbe final : public FolderProbe {
public:
    std::wstring ExpandVariables(const std::wstring& text) override {
        std::wstring result = text;
        const std::wstring name = L"%USERPROFILE%";
        if (const auto at = result.find(name); at != std::wstring::npos) result.replace(at, name.size(), L"C:\\Users\\ann");
        return result;
    }
    bool IsNetworkDrive(wchar_t letter) override { return letter == L'N'; }
    bool IsMissingFolder(const std::wstring& path) override {
        ++checks;
        return path != L"C:\\" && path != L"C:\\Users\\ann\\Documents";
    }
    int checks = 0;
};

}  // namespace

TEST(ExplorerCommand, PlannedFromTheStoredSettings) {
    MemoryRegistry reg;
    FakeProbe probe;
    EXPECT_EQ(PlanExplorerLaunch(reg, probe).commandLine, L"explorer.exe /e,");
    EXPECT_EQ(PlanExplorerLaunch(reg, probe).showState, 1);
    reg.PutString(registry::kSettingsKey, registry::kModeValue, L"vbMaximizedFocus");
    reg.PutString(registry::kSettingsKey, registry::kFolderValue, L"C:\\");
    const ExplorerLaunch launch = PlanExplorerLaunch(reg, probe);
    EXPECT_EQ(launch.commandLine, L"explorer.exe /e,\"C:\\\"");
    EXPECT_EQ(launch.showState, 3);
    reg.PutRaw(registry::kSettingsKey, registry::kModeValue, registry::kTypeDword, {2, 0, 0, 0});
    EXPECT_EQ(PlanExplorerLaunch(reg, probe).showState, 1) << "a number is no mode name";
    reg.PutString(registry::Root::CurrentUser, registry::kSettingsKey, registry::kFolderValue, L"%USERPROFILE%\\Documents");
    EXPECT_EQ(PlanExplorerLaunch(reg, probe).commandLine, L"explorer.exe /e,\"C:\\Users\\ann\\Documents\"")
        << "the user's folder, expanded";
}

TEST(ExplorerCommand, OnlyAMissingFolderOnALocalDriveStopsTheStart) {
    struct Case {
        const wchar_t* stored;
        bool missing;
        bool checked;
    } cases[] = {
        {L"C:\\", false, true},
        {L"%USERPROFILE%\\Documents", false, true},
        {L"C:\\gone", true, true},
        {L"%USERPROFILE%\\gone", true, true},
        {L"q:\\", true, true},
        {L"%UNDEFINED%\\x", false, false},
        {L"", false, false},
        {L"\\\\server\\share\\gone", false, false},
        {L"N:\\on a mapped drive", false, true},
        {L"  C:\\gone", false, false},
        {L"relative", false, false},
    };
    for (const auto& c : cases) {
        MemoryRegistry reg;
        reg.PutString(registry::kSettingsKey, registry::kFolderValue, c.stored);
        FakeProbe probe;
        const ExplorerLaunch launch = PlanExplorerLaunch(reg, probe);
        EXPECT_EQ(launch.folderMissing, c.missing) << testing::PrintToString(std::wstring(c.stored));
        EXPECT_EQ(IsDriveLetterPath(launch.folder), c.checked) << testing::PrintToString(std::wstring(c.stored));
        if (!c.checked) {
            EXPECT_EQ(probe.checks, 0) << "no look at " << testing::PrintToString(std::wstring(c.stored));
        }
    }
    EXPECT_NE(MissingFolderText(L"C:\\gone").find(L"The folder C:\\gone does not exist"), std::wstring::npos);
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
    EXPECT_EQ(on.status.code, winkit::kErrorAccessDenied);
    EXPECT_FALSE(on.checked);

    MemoryRegistry existing;
    existing.PutString(registry::kRunKey, registry::kRunValue, L"C:\\T\\Tolvane.exe");
    existing.RefuseWrites();
    AutostartOutcome off = ToggleAutostart(existing, true, L"C:\\T\\Tolvane.exe");
    EXPECT_EQ(off.status.code, winkit::kErrorAccessDenied);
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
        {false, winkit::kErrorAccessDenied, L"could not add", L"could not remove", true},
        {true, winkit::kErrorAccessDenied, L"could not remove", L"could not add", true},
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
