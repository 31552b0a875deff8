#include <gtest/gtest.h>

#include "MemoryRegistry.h"
#include "RegistryLayout.h"
#include "Settings.h"
#include "WindowModes.h"

using namespace launcher;
using testing_support::MemoryRegistry;
using testing_support::User;

namespace {

constexpr const wchar_t* kKey = registry::kSettingsKey;

}  // namespace

TEST(SettingsLoad, MissingValuesReadAsEmpty) {
    MemoryRegistry reg;
    StoredSettings settings = ReadSettings(reg);
    EXPECT_EQ(settings.mode, L"");
    EXPECT_EQ(settings.folder, L"") << "never the layout's C:\\";

    reg.PutString(kKey, registry::kModeValue, L"vbMinimizedFocus");
    settings = ReadSettings(reg);
    EXPECT_EQ(settings.mode, L"vbMinimizedFocus");
    EXPECT_EQ(settings.folder, L"");
}

TEST(SettingsLoad, ExpandableTextCountsANumberDoesNot) {
    MemoryRegistry reg;
    reg.PutRaw(kKey, registry::kFolderValue, registry::kTypeExpandSz, {'C', 0, ':', 0, 0, 0});
    reg.PutRaw(kKey, registry::kModeValue, registry::kTypeDword, {3, 0, 0, 0});
    const StoredSettings settings = ReadSettings(reg);
    EXPECT_EQ(settings.mode, L"");
    EXPECT_EQ(settings.folder, L"C:");
}

TEST(SettingsLoad, EachValueIsTheUsersElseTheMachines) {
    const std::array<const wchar_t*, 4> cases[] = {
        // the user's "Modus" and "Pfad" over the machine's vbMaximizedFocus, C:\ -> what counts
        {nullptr, nullptr, L"vbMaximizedFocus", L"C:\\"},
        {L"vbNormalFocus", L"D:\\Mine", L"vbNormalFocus", L"D:\\Mine"},
        {nullptr, L"D:\\Mine", L"vbMaximizedFocus", L"D:\\Mine"},
        {L"vbNormalNoFocus", nullptr, L"vbNormalNoFocus", L"C:\\"},
        {nullptr, L"", L"vbMaximizedFocus", L""},
    };
    for (const auto& [userMode, userFolder, mode, folder] : cases) {
        MemoryRegistry reg;
        reg.PutString(kKey, registry::kModeValue, L"vbMaximizedFocus");
        reg.PutString(kKey, registry::kFolderValue, L"C:\\");
        if (userMode) reg.PutString(User(kKey), registry::kModeValue, userMode);
        if (userFolder) reg.PutString(User(kKey), registry::kFolderValue, userFolder);
        const StoredSettings settings = ReadSettings(reg);
        EXPECT_EQ(settings.mode, mode);
        EXPECT_EQ(settings.folder, folder);
    }
}

TEST(SettingsSave, WritesBothValuesExactlyAsGiven) {
    const std::wstring folders[] = {
        L"",
        L"C:\\",
        L"  D:\\Daten ",
        L"C:\\Programme",
        L"%USERPROFILE%\\Documents",
        L"C:\\a,b;c\"d",
        L"C:\\\u00dcbersicht\\\u65e5\u672c\\\u0416\u0443\u0440\u043d\u0430\u043b",  // not in any ANSI code page together
        L"C:\\\U0001F4C1 Ordner",                                                // outside the BMP
        std::wstring(40000, L'x'),  // longer than a 16-bit length
    };
    for (const auto& folder : folders) {
        MemoryRegistry reg;
        reg.PutString(kKey, registry::kModeValue, L"vbMaximizedFocus");
        reg.PutString(kKey, registry::kFolderValue, L"C:\\");
        reg.RefuseMachineWrites();  // a user without administrator rights
        const SaveOutcome outcome = SaveSettings(reg, L"vbNormalFocus", folder);
        EXPECT_TRUE(outcome.Ok());
        EXPECT_EQ(reg.StoredText(User(kKey), registry::kModeValue), L"vbNormalFocus");
        EXPECT_EQ(reg.StoredText(User(kKey), registry::kFolderValue), folder) << folder.size();
        EXPECT_EQ(reg.StoredText(kKey, registry::kModeValue), L"vbMaximizedFocus") << "the default stays";
        EXPECT_EQ(reg.StoredText(kKey, registry::kFolderValue), L"C:\\");
        const StoredSettings back = ReadSettings(reg);
        EXPECT_EQ(back.mode, L"vbNormalFocus");
        EXPECT_EQ(back.folder, folder) << "round trip, length " << folder.size();
    }
}

TEST(SettingsSave, NoOptionSelectedStoresAnEmptyMode) {
    MemoryRegistry reg;
    reg.PutString(User(kKey), registry::kModeValue, L"vbnormalfocus");
    EXPECT_TRUE(SaveSettings(reg, ModeForOptions({}), L"C:\\").Ok());
    ASSERT_TRUE(reg.HasValue(User(kKey), registry::kModeValue)) << "written even when empty";
    EXPECT_EQ(reg.StoredText(User(kKey), registry::kModeValue), L"");
}

TEST(SettingsSave, CreatesTheKeyWhenItIsMissing) {
    MemoryRegistry reg;
    EXPECT_TRUE(SaveSettings(reg, L"vbNormalNoFocus", L"E:\\").Ok());
    EXPECT_EQ(reg.StoredText(User(kKey), registry::kModeValue), L"vbNormalNoFocus");
    EXPECT_EQ(reg.StoredText(User(kKey), registry::kFolderValue), L"E:\\");
    EXPECT_FALSE(reg.HasKey(kKey)) << "nothing under HKEY_LOCAL_MACHINE";
    EXPECT_EQ(reg.OpenHandles(), 0);
}

TEST(SettingsSave, ARefusedSaveIsReportedAndChangesNothing) {
    MemoryRegistry reg;
    reg.PutString(User(kKey), registry::kModeValue, L"vbMaximizedFocus");
    reg.PutString(User(kKey), registry::kFolderValue, L"C:\\");
    reg.RefuseWrites(winkit::kErrorAccessDenied);
    const SaveOutcome outcome = SaveSettings(reg, L"vbNormalFocus", L"D:\\");
    EXPECT_FALSE(outcome.Ok());
    EXPECT_EQ(outcome.mode.status.code, winkit::kErrorAccessDenied);
    EXPECT_EQ(outcome.folder.status.code, winkit::kErrorAccessDenied) << "the folder is tried too";
    EXPECT_EQ(outcome.FirstError(), winkit::kErrorAccessDenied);
    EXPECT_EQ(reg.StoredText(User(kKey), registry::kModeValue), L"vbMaximizedFocus");
    EXPECT_EQ(reg.StoredText(User(kKey), registry::kFolderValue), L"C:\\");
    EXPECT_NE(outcome.mode.status.operation.find(L"HKEY_CURRENT_USER\\"), std::wstring::npos) << "names where it wrote";
    EXPECT_EQ(reg.OpenHandles(), 0);
}

TEST(SettingsSave, TheHotkeyIsStoredOnlyWithTheOthers) {
    struct Case {
        const wchar_t* refused;  // the one value Windows refuses
        bool modeSaved, folderSaved, hotkeySaved;
        const wchar_t* lead;
    } cases[] = {
        {nullptr, true, true, true, nullptr},
        {L"Modus", false, true, false, L"Not saved: the window mode and the hotkey. Saved: the folder."},
        {L"Pfad", true, false, false, L"Not saved: the folder and the hotkey. Saved: the window mode."},
        {L"Hotkey", true, true, false, L"Not saved: the hotkey. Saved: the window mode and the folder."},
    };
    for (const Case& c : cases) {
        MemoryRegistry reg;
        reg.PutString(User(kKey), registry::kHotkeyValue, L"Ctrl+Alt+E");
        if (c.refused) reg.RefuseValue(c.refused, 1018);  // ERROR_KEY_DELETED
        const SaveOutcome outcome = SaveSettings(reg, L"vbNormalFocus", L"D:\\", std::wstring(L"Win+E"));
        EXPECT_EQ(outcome.Ok(), c.refused == nullptr);
        EXPECT_EQ(reg.StoredText(User(kKey), registry::kModeValue) == L"vbNormalFocus", c.modeSaved);
        EXPECT_EQ(reg.StoredText(User(kKey), registry::kFolderValue) == L"D:\\", c.folderSaved);
        EXPECT_EQ(reg.StoredText(User(kKey), registry::kHotkeyValue), c.hotkeySaved ? L"Win+E" : L"Ctrl+Alt+E");
        EXPECT_EQ(outcome.hotkey.Refused(), !c.hotkeySaved);
        if (!c.lead) continue;
        EXPECT_EQ(outcome.FirstError(), 1018);
        const std::wstring text = SaveFailureText(outcome, L"<reason>");
        EXPECT_EQ(text.rfind(c.lead, 0), 0u) << testing::PrintToString(text);
    }
}

TEST(VirtualizedSettings, CopiedOnceIntoTheUsersKeyAndLeftInPlace) {
    const wchar_t* const wow = registry::kVirtualizedSettingsKeys[0];
    const wchar_t* const plain = registry::kVirtualizedSettingsKeys[1];
    struct Case {
        const char* name;
        const wchar_t* virtualKey;
        const wchar_t *virtualMode, *virtualFolder;
        const wchar_t* userFolder;  // before
        bool copied;
        const wchar_t *mode, *folder;  // the user's values after
    } cases[] = {
        {"64-bit Windows", wow, L"vbNormalFocus", L"D:\\Old", nullptr, true, L"vbNormalFocus", L"D:\\Old"},
        {"32-bit Windows", plain, L"vbNormalFocus", L"D:\\Old", nullptr, true, L"vbNormalFocus", L"D:\\Old"},
        {"only the folder", plain, nullptr, L"D:\\Old", nullptr, true, L"<missing>", L"D:\\Old"},
        {"the user has a value", wow, L"vbNormalFocus", L"D:\\Old", L"E:\\New", false, L"<missing>", L"E:\\New"},
    };
    MemoryRegistry nothing;
    EXPECT_FALSE(AdoptVirtualizedSettings(nothing)) << "nothing virtualized";
    for (const auto& c : cases) {
        MemoryRegistry reg;
        if (c.virtualMode) reg.PutString(User(c.virtualKey), registry::kModeValue, c.virtualMode);
        reg.PutString(User(c.virtualKey), registry::kFolderValue, c.virtualFolder);
        if (c.userFolder) reg.PutString(User(kKey), registry::kFolderValue, c.userFolder);
        reg.PutString(kKey, registry::kModeValue, L"vbMaximizedFocus");
        EXPECT_EQ(AdoptVirtualizedSettings(reg), c.copied) << c.name;
        EXPECT_EQ(reg.StoredText(User(kKey), registry::kModeValue), c.mode) << c.name;
        EXPECT_EQ(reg.StoredText(User(kKey), registry::kFolderValue), c.folder) << c.name;
        EXPECT_EQ(reg.StoredText(User(c.virtualKey), registry::kFolderValue), c.virtualFolder) << c.name;
        EXPECT_FALSE(AdoptVirtualizedSettings(reg)) << c.name << ": only once";
    }
}

TEST(SettingsSave, FailureTextSaysWhatWasNotSavedAndWhy) {
    constexpr long kDenied = winkit::kErrorAccessDenied;
    struct Case {
        long modeError, folderError, hotkeyError;
        bool hotkeyAsked;  // false: a policy sets it, or the dialog has none to save
        const wchar_t* lead;
    } cases[] = {
        {kDenied, kDenied, kDenied, true, L"Not saved: the window mode, the folder and the hotkey.\n"},
        {kDenied, kDenied, 0, false, L"Not saved: the window mode and the folder.\n"},
        {kDenied, 0, 0, false, L"Not saved: the window mode. Saved: the folder."},
        {0, kDenied, 0, false, L"Not saved: the folder. Saved: the window mode."},
        {0, 0, kDenied, true, L"Not saved: the hotkey. Saved: the window mode and the folder."},
        {1018, 1018, 1018, true, L"Not saved: the window mode, the folder and the hotkey.\n"},
    };
    for (const auto& c : cases) {
        const SaveOutcome outcome{{true, {c.modeError, L""}}, {true, {c.folderError, L""}},
                                  {c.hotkeyAsked, {c.hotkeyError, L""}}};
        const std::wstring text = SaveFailureText(outcome, L"<system reason>");
        EXPECT_EQ(text.rfind(c.lead, 0), 0u) << testing::PrintToString(text);
        EXPECT_NE(text.find(L"<system reason>"), std::wstring::npos);
        EXPECT_EQ(text.find(L"administrator"), std::wstring::npos) << "the user's own key needs no rights";
    }
    // A value a policy sets is neither saved nor refused.
    const SaveOutcome policy{{false, {}}, {true, {kDenied, L""}}, {false, {}}};
    EXPECT_EQ(SaveFailureText(policy, L"").rfind(L"Not saved: the folder.\n", 0), 0u);
    EXPECT_EQ(policy.FirstError(), kDenied);
}

TEST(SettingsPolicy, ComputerThenUserPolicyOverTheUsersAndTheMachinesValues) {
    using registry::kPolicyKey;
    // Which places hold "Pfad" -> the folder read, whether the dialog greys it
    struct Case {
        bool computer, userPolicy, user, machine;
        const wchar_t* folder;
        bool byPolicy;
    } cases[] = {
        {true, true, true, true, L"C:\\computer", true},
        {false, true, true, true, L"C:\\user-policy", true},
        {false, false, true, true, L"C:\\user", false},
        {false, false, false, true, L"C:\\machine", false},
        {true, false, false, false, L"C:\\computer", true},
    };
    for (const Case& c : cases) {
        MemoryRegistry reg;
        // Group Policy Preferences write paths as REG_EXPAND_SZ.
        if (c.computer)
            reg.PutString(testing_support::MachinePolicy(kPolicyKey), L"Pfad", L"C:\\computer", registry::kTypeExpandSz);
        if (c.userPolicy) reg.PutString(testing_support::User(kPolicyKey), L"Pfad", L"C:\\user-policy");
        if (c.user) reg.PutString(testing_support::User(registry::kSettingsKey), L"Pfad", L"C:\\user");
        if (c.machine) reg.PutString(registry::kSettingsKey, L"Pfad", L"C:\\machine");
        const StoredSettings stored = ReadSettings(reg);
        EXPECT_EQ(stored.folder, c.folder);
        EXPECT_EQ(stored.folderByPolicy, c.byPolicy) << testing::PrintToString(std::wstring(c.folder));
        EXPECT_FALSE(stored.modeByPolicy);
        // Save writes only what no policy sets.
        ASSERT_TRUE(SaveSettings(reg, L"vbNormalFocus", L"C:\\typed").Ok());
        EXPECT_EQ(reg.StoredText(testing_support::User(registry::kSettingsKey), L"Pfad"),
                  c.byPolicy ? (c.user ? L"C:\\user" : L"<missing>") : L"C:\\typed");
        EXPECT_EQ(reg.StoredText(testing_support::User(registry::kSettingsKey), L"Modus"), L"vbNormalFocus");
    }
}

TEST(SettingsPolicy, HotkeyLookedUpLikeTheOthers) {
    MemoryRegistry reg;
    reg.PutString(registry::kSettingsKey, L"Hotkey", L"Ctrl+Alt+F12");
    reg.PutString(User(registry::kSettingsKey), L"Hotkey", L"Win+E");
    EXPECT_EQ(ReadSettings(reg).hotkey, L"Win+E");
    ASSERT_TRUE(SaveSettings(reg, L"", L"", std::wstring(L"Ctrl+Alt+E")).Ok());
    EXPECT_EQ(reg.StoredText(User(registry::kSettingsKey), L"Hotkey"), L"Ctrl+Alt+E");
    reg.PutString(User(registry::kPolicyKey), L"Hotkey", L"Ctrl+Shift+T");
    const StoredSettings stored = ReadSettings(reg);
    EXPECT_EQ(stored.hotkey, L"Ctrl+Shift+T");
    EXPECT_TRUE(stored.hotkeyByPolicy);
    ASSERT_TRUE(SaveSettings(reg, L"", L"", std::wstring(L"Alt+F1")).Ok());
    EXPECT_EQ(reg.StoredText(User(registry::kSettingsKey), L"Hotkey"), L"Ctrl+Alt+E") << "a policy's value is not saved";
}
