#include <gtest/gtest.h>

#include "Actions.h"
#include "MemoryRegistry.h"
#include "RegistryLayout.h"
#include "resource.h"

#include <vector>

using namespace launcher;
using testing_support::MemoryRegistry;
using testing_support::User;

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

// Folders as a test sets them; %USERPROFILE% is the one variable, N: a mapped drive.
class FakeProbe final : public FolderProbe {
public:
    std::wstring ExpandVariables(const std::wstring& text) override {
        const std::wstring name = L"%USERPROFILE%";
        return text.rfind(name, 0) == 0 ? L"C:\\Users\\ann" + text.substr(name.size()) : text;
    }
    bool IsNetworkDrive(wchar_t letter) override { return letter == L'N'; }
    bool IsMissingFolder(const std::wstring& path) override {
        return path != L"C:\\" && path != L"C:\\Users\\ann\\Documents";
    }
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
    reg.PutString(User(registry::kSettingsKey), registry::kFolderValue, L"%USERPROFILE%\\Documents");
    EXPECT_EQ(PlanExplorerLaunch(reg, probe).commandLine, L"explorer.exe /e,\"C:\\Users\\ann\\Documents\"")
        << "the user's folder, expanded";
}

TEST(ExplorerCommand, OnlyAMissingFolderOnALocalDriveStopsTheStart) {
    const std::pair<const wchar_t*, bool> cases[] = {  // stored folder, missing
        {L"C:\\", false}, {L"%USERPROFILE%\\Documents", false}, {L"C:\\gone", true},
        {L"%USERPROFILE%\\gone", true}, {L"q:\\", true}, {L"", false}, {L"\\\\server\\share\\gone", false},
        {L"N:\\on a mapped drive", false}, {L"%UNDEFINED%\\x", false}, {L"relative", false},
        {L"Q:", true}, {L"N:", false},
    };
    for (const auto& [stored, missing] : cases) {
        MemoryRegistry reg;
        reg.PutString(registry::kSettingsKey, registry::kFolderValue, stored);
        FakeProbe probe;
        EXPECT_EQ(PlanExplorerLaunch(reg, probe).folderMissing, missing) << testing::PrintToString(std::wstring(stored));
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

namespace {

// UAC as a test sets it: the answer to the question and what the elevated
// copy returns; a copy that succeeds removes the machine's value as the real
// one would, with the rights the caller lacks.
class FakeElevation final : public Elevation {
public:
    FakeElevation(MemoryRegistry& reg, bool elevated, bool answer = true, long copyResult = 0)
        : m_reg(reg), m_elevated(elevated), m_answer(answer), m_copyResult(copyResult) {
        if (!elevated) reg.RefuseMachineWrites();
    }
    bool IsElevated() override { return m_elevated; }
    bool ConfirmRemovalForAllUsers() override { return ++asked, m_answer; }
    long RunElevatedRemoval() override {
        if (++ran, m_copyResult != winkit::kErrorSuccess) return m_copyResult;
        m_reg.RefuseWrites(winkit::kErrorSuccess);
        const long result = RemoveMachineAutostart(m_reg);
        m_reg.RefuseMachineWrites();
        return result;
    }
    int asked = 0, ran = 0;

private:
    MemoryRegistry& m_reg;
    bool m_elevated, m_answer;
    long m_copyResult;
};

const std::wstring kPath = L"C:\\Program Files\\Tolvane\\Tolvane.exe";
const std::wstring kQuoted = L"\"" + kPath + L"\"";  // as the Run value holds it
const std::wstring kUserRun = User(registry::kRunKey);

}  // namespace

TEST(Autostart, CheckMarkFromTheUsersOrTheMachinesValue) {
    const std::tuple<const wchar_t*, const wchar_t*, bool> cases[] = {  // user's, machine's, checked
        {nullptr, nullptr, false}, {L"C:\\a.exe", nullptr, true}, {nullptr, L"C:\\b.exe", true},
        {L"C:\\a.exe", L"C:\\b.exe", true}, {L"  ", nullptr, false}, {L"  ", L"C:\\b.exe", true},
    };
    for (const auto& [user, machine, checked] : cases) {
        MemoryRegistry reg;
        if (user) reg.PutString(kUserRun, registry::kRunValue, user);
        if (machine) reg.PutString(registry::kRunKey, registry::kRunValue, machine);
        EXPECT_EQ(ReadAutostart(reg), checked) << (user ? "user " : "") << (machine ? "machine" : "");
    }
}

TEST(Autostart, TheUsersValueFreelyTheMachinesOnlyWithRights) {
    constexpr long kDenied = winkit::kErrorAccessDenied, kCancelled = winkit::kErrorCancelled;
    struct Case {
        const char* name;
        bool user, machine, elevated, answer;  // before; switching off when either is there
        long copyResult;
        bool userAfter, machineAfter;
        long error;
        int asked, ran;
    } cases[] = {
        {"on, without rights", false, false, false, true, 0, true, false, 0, 0, 0},
        {"off, user only", true, false, false, true, 0, false, false, 0, 0, 0},
        {"off, machine only, elevated", false, true, true, true, 0, false, false, 0, 0, 0},
        {"off, both, elevated", true, true, true, true, 0, false, false, 0, 0, 0},
        {"off, machine only, prompt accepted", false, true, false, true, 0, false, false, 0, 1, 1},
        {"off, both, prompt accepted", true, true, false, true, 0, false, false, 0, 1, 1},
        {"off, both, question answered no", true, true, false, false, 0, true, true, 0, 1, 0},
        {"off, both, UAC declined", true, true, false, true, kCancelled, true, true, 0, 1, 1},
        {"off, both, elevated copy refused", true, true, false, true, kDenied, true, true, kDenied, 1, 1},
    };
    for (const auto& c : cases) {
        MemoryRegistry reg;
        reg.PutString(kUserRun, L"Other", L"C:\\x.exe");
        if (c.user) reg.PutString(kUserRun, registry::kRunValue, kQuoted);
        if (c.machine) reg.PutString(registry::kRunKey, registry::kRunValue, kPath);
        FakeElevation elevation(reg, c.elevated, c.answer, c.copyResult);
        const AutostartOutcome outcome = ToggleAutostart(reg, elevation, c.user || c.machine, kPath);
        EXPECT_EQ(reg.StoredText(kUserRun, registry::kRunValue), c.userAfter ? kQuoted : L"<missing>") << c.name;
        EXPECT_EQ(reg.HasValue(registry::kRunKey, registry::kRunValue), c.machineAfter) << c.name;
        EXPECT_EQ(outcome.checked, c.userAfter || c.machineAfter) << c.name;
        EXPECT_EQ(outcome.status.code, c.error) << c.name;
        EXPECT_EQ(outcome.allUsers, c.machine) << c.name;
        EXPECT_EQ(std::make_pair(elevation.asked, elevation.ran), std::make_pair(c.asked, c.ran)) << c.name;
        EXPECT_TRUE(reg.HasValue(kUserRun, L"Other")) << "other programs' entries stay";
    }
}

TEST(Autostart, ABlankMachineValueNeedsNoRights) {
    MemoryRegistry reg;
    reg.PutString(kUserRun, registry::kRunValue, kQuoted);
    reg.PutString(registry::kRunKey, registry::kRunValue, L"   ");
    FakeElevation elevation(reg, false);
    const AutostartOutcome off = ToggleAutostart(reg, elevation, true, kPath);
    EXPECT_TRUE(off.status.Ok());
    EXPECT_FALSE(off.checked);
    EXPECT_FALSE(off.allUsers);
    EXPECT_EQ(elevation.asked + elevation.ran, 0) << "nothing to remove for all users";
    EXPECT_FALSE(reg.HasValue(kUserRun, registry::kRunValue));
}

TEST(Autostart, RefusedChangesKeepTheRealState) {
    MemoryRegistry reg;
    FakeElevation elevation(reg, true);
    reg.RefuseWrites();
    AutostartOutcome on = ToggleAutostart(reg, elevation, false, L"C:\\T\\Tolvane.exe");
    EXPECT_EQ(on.status.code, winkit::kErrorAccessDenied);
    EXPECT_FALSE(on.checked);

    reg.PutString(kUserRun, registry::kRunValue, L"C:\\T\\Tolvane.exe");
    AutostartOutcome off = ToggleAutostart(reg, elevation, true, L"C:\\T\\Tolvane.exe");
    EXPECT_EQ(off.status.code, winkit::kErrorAccessDenied);
    EXPECT_TRUE(off.checked);
}

TEST(Autostart, FailureTextNamesTheRefusedChange) {
    // wasChecked: the state before the switch, so true means switching off.
    struct Case {
        bool wasChecked;
        bool allUsers;
        long error;
        const wchar_t* says;
        const wchar_t* mustNotSay;
        bool asksForAdministrator;
    } cases[] = {
        {false, false, winkit::kErrorAccessDenied, L"could not add", L"could not remove", false},
        {true, true, winkit::kErrorAccessDenied, L"could not remove", L"could not add", true},
        {true, false, winkit::kErrorAccessDenied, L"could not remove", L"could not add", false},
        {true, true, 1009, L"could not remove", L"could not add", false},  // ERROR_BADDB
    };
    for (const auto& c : cases) {
        AutostartOutcome outcome{true, {c.error, L""}, c.allUsers};
        const std::wstring text = AutostartFailureText(c.wasChecked, outcome, L"<system reason>");
        const std::string label = testing::PrintToString(text);
        EXPECT_NE(text.find(c.says), std::wstring::npos) << label;
        EXPECT_EQ(text.find(c.mustNotSay), std::wstring::npos) << label;
        EXPECT_NE(text.find(L"<system reason>"), std::wstring::npos) << label;
        EXPECT_EQ(text.find(L"administrator") != std::wstring::npos, c.asksForAdministrator) << label;
    }
}

TEST(Autostart, RemovingAnEntryThatIsAlreadyGoneIsNoFailure) {
    MemoryRegistry reg;
    FakeElevation elevation(reg, true);
    AutostartOutcome off = ToggleAutostart(reg, elevation, true, L"C:\\T\\Tolvane.exe");
    EXPECT_TRUE(off.status.Ok());
    EXPECT_FALSE(off.checked);
    EXPECT_EQ(RemoveMachineAutostart(reg), winkit::kErrorSuccess);
}

TEST(ElevatedCopy, OnlyTheOneArgumentRemovesTheMachinesValue) {
    const std::wstring only = kRemoveMachineAutostartArgument;
    EXPECT_EQ(StartModeFor({}), StartMode::Tray);
    EXPECT_EQ(StartModeFor({only}), StartMode::RemoveMachineAutostart);
    for (const auto& refused : std::vector<std::vector<std::wstring>>{{only, only}, {only, L"x"}, {L"/?"}, {L""}})
        EXPECT_EQ(StartModeFor(refused), StartMode::Refused) << refused.size();
    MemoryRegistry reg;
    reg.PutString(registry::kRunKey, registry::kRunValue, kPath);
    reg.RefuseWrites();
    EXPECT_EQ(RemoveMachineAutostart(reg), winkit::kErrorAccessDenied) << "the exit code";
}
