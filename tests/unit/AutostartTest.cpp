#include <gtest/gtest.h>

#include "Autostart.h"
#include "Guide.h"
#include "MemoryRegistry.h"
#include "RegistryLayout.h"

#include <tuple>
#include <vector>

using namespace launcher;
using testing_support::MemoryRegistry;
using testing_support::User;

// program folder -> the launcher's and the guide's fixed names in it
const struct {
    const wchar_t* folder;
    const wchar_t* launcher;
    const wchar_t* guide;
} kProgramFolderCases[] = {
    {L"C:\\Tolvane", L"C:\\Tolvane\\Tolvane.exe", L"C:\\Tolvane\\Readme.txt"},
    {L"E:\\", L"E:\\Tolvane.exe", L"E:\\Readme.txt"},
    {L"C:\\Program Files\\Tolvane", L"C:\\Program Files\\Tolvane\\Tolvane.exe",
     L"C:\\Program Files\\Tolvane\\Readme.txt"},
};

TEST(LauncherPathTest, FixedFileNamesInTheProgramFolder) {
    for (const auto& row : kProgramFolderCases) {
        EXPECT_EQ(LauncherPath(row.folder), row.launcher);
        EXPECT_EQ(GuidePath(row.folder), row.guide);
    }
    EXPECT_EQ(GuidePath(L"C:\\Tolvane", Language::German), L"C:\\Tolvane\\Liesmich.txt");
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
        {L"", L"", false}, {nullptr, L"x", true}, {L"\t", nullptr, true},  // a tab is not blank here
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
