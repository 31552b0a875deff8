#include <gtest/gtest.h>

#include "Hotkey.h"

#include <vector>

using namespace launcher;

namespace {
constexpr unsigned kCtrlAlt = kModControl | kModAlt;
}

TEST(HotkeyText, ReadsCombinationsAndRefusesWhatCannotBeRead) {
    struct Case {
        const wchar_t* text;
        std::optional<Hotkey> hotkey;  // nothing: unreadable
        const wchar_t* formatted;      // the text written back
    } cases[] = {
        {L"Ctrl+Alt+E", Hotkey{kCtrlAlt, 'E'}, L"Ctrl+Alt+E"},
        {L"Win+Shift+F", Hotkey{kModWin | kModShift, 'F'}, L"Win+Shift+F"},
        {L"Ctrl+Alt+F12", Hotkey{kCtrlAlt, 0x7B}, L"Ctrl+Alt+F12"},
        {L"Alt+F1", Hotkey{kModAlt, 0x70}, L"Alt+F1"},
        {L"Ctrl+F10", Hotkey{kModControl, 0x79}, L"Ctrl+F10"},
        {L"Alt+f19", Hotkey{kModAlt, 0x82}, L"Alt+F19"},
        {L"Win+Shift+F24", Hotkey{kModWin | kModShift, 0x87}, L"Win+Shift+F24"},
        {L"Ctrl+Delete", Hotkey{kModControl, 0x2E}, L"Ctrl+Delete"},
        {L"Win+Pause", Hotkey{kModWin, 0x13}, L"Win+Pause"},
        {L"Win+E", Hotkey{kModWin, 'E'}, L"Win+E"},
        {L"Ctrl+Shift+7", Hotkey{kModControl | kModShift, '7'}, L"Ctrl+Shift+7"},
        {L"Alt+a", Hotkey{kModAlt, 'A'}, L"Alt+A"},
        {L"Alt+Z", Hotkey{kModAlt, 'Z'}, L"Alt+Z"},
        {L"Ctrl+0", Hotkey{kModControl, '0'}, L"Ctrl+0"},
        {L"Ctrl+9", Hotkey{kModControl, '9'}, L"Ctrl+9"},
        {L"Ctrl+Alt+Space", Hotkey{kCtrlAlt, 0x20}, L"Ctrl+Alt+Space"},
        {L"Ctrl+Alt+Left", Hotkey{kCtrlAlt, 0x25}, L"Ctrl+Alt+Left"},
        {L"Win+Down", Hotkey{kModWin, 0x28}, L"Win+Down"},
        {L"Ctrl+Alt+Up", Hotkey{kCtrlAlt, 0x26}, L"Ctrl+Alt+Up"},
        {L"Ctrl+end", Hotkey{kModControl, 0x23}, L"Ctrl+End"},
        {L"ctrl+ALT+e", Hotkey{kCtrlAlt, 'E'}, L"Ctrl+Alt+E"},
        {L" Alt + Ctrl + e ", Hotkey{kCtrlAlt, 'E'}, L"Ctrl+Alt+E"},
        {L"", Hotkey{}, L""},
        {L"   ", Hotkey{}, L""},
        {L"Ctrl+Ctrl+E", std::nullopt, nullptr},
        {L"Ctrl+Alt+Foo", std::nullopt, nullptr},
        {L"Ctrl+Alt+F25", std::nullopt, nullptr},
        {L"Ctrl+Alt+F0", std::nullopt, nullptr},
        {L"Ctrl+Alt", std::nullopt, nullptr},
        {L"Ctrl+", std::nullopt, nullptr},
        {L"+E", std::nullopt, nullptr},
        {L"Ctrl+E+F", std::nullopt, nullptr},
        {L"Ctrl+E+Alt", std::nullopt, nullptr},
        {L"E", std::nullopt, nullptr},
        {L"Control+E", std::nullopt, nullptr},
        {L"Ctrl+Alt+Ä", std::nullopt, nullptr},
        {L"Ctrl+Alt+@", std::nullopt, nullptr},  // the characters beside the letters and digits
        {L"Ctrl+Alt+[", std::nullopt, nullptr},
        {L"Ctrl+Alt+/", std::nullopt, nullptr},
        {L"Ctrl+Alt+:", std::nullopt, nullptr},
        // Without Ctrl, Alt or Win a key would be taken from every program.
        {L"F9", std::nullopt, nullptr},
        {L"Delete", std::nullopt, nullptr},
        {L"Left", std::nullopt, nullptr},
        {L"Home", std::nullopt, nullptr},
        {L"Pause", std::nullopt, nullptr},
        {L"Shift+F24", std::nullopt, nullptr},
        {L"Shift+E", std::nullopt, nullptr},
        // Names with more after them.
        {L"Ctrl+Alt+Spacebar", std::nullopt, nullptr},
        {L"Ctrl+Alt+PageUpx", std::nullopt, nullptr},
        {L"Ctrl+Alt+F01", std::nullopt, nullptr},
        {L"Ctrl+Alt+F1x", std::nullopt, nullptr},
        {L"Ctrlx+E", std::nullopt, nullptr},
    };
    for (const Case& c : cases) {
        const auto parsed = ParseHotkey(c.text);
        ASSERT_EQ(parsed.has_value(), c.hotkey.has_value()) << testing::PrintToString(std::wstring(c.text));
        if (!parsed) continue;
        EXPECT_EQ(parsed->modifiers, c.hotkey->modifiers) << testing::PrintToString(std::wstring(c.text));
        EXPECT_EQ(parsed->key, c.hotkey->key) << testing::PrintToString(std::wstring(c.text));
        EXPECT_EQ(FormatHotkey(*parsed), c.formatted);
    }
    EXPECT_TRUE(ParseHotkey(L"win+e")->IsWindowsExplorerKey());
    EXPECT_FALSE(ParseHotkey(L"Win+Shift+E")->IsWindowsExplorerKey());
}

TEST(HotkeyControl, WordAndCombinationBothWays) {
    struct Case {
        unsigned word;  // HOTKEYF_* << 8 | virtual key
        Hotkey hotkey;
    } cases[] = {
        {0x0645, {kCtrlAlt, 'E'}},               // HOTKEYF_CONTROL | HOTKEYF_ALT
        {0x0146, {kModShift, 'F'}},              // HOTKEYF_SHIFT
        {0x0246, {kModControl, 'F'}},            // HOTKEYF_CONTROL
        {0x0446, {kModAlt, 'F'}},                // HOTKEYF_ALT
        {0x0A2E, {kModControl, 0x2E}},           // Delete is an extended key
        {0x077B, {kCtrlAlt | kModShift, 0x7B}},  // all three, F12
        {0x0E25, {kCtrlAlt, 0x25}},              // an arrow is an extended key
        {0x0000, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FromHotkeyControl(c.word), c.hotkey) << std::hex << c.word;
        EXPECT_EQ(ToHotkeyControl(c.hotkey), c.word) << std::hex << c.word;
    }
}

TEST(HotkeyTaken, TheBalloonPointsToSettingsTheDialogDoesNot) {
    const Hotkey hotkey{kCtrlAlt, 'E'};
    EXPECT_EQ(HotkeyTakenText(hotkey), L"Ctrl+Alt+E is used by another program; choose another in Settings.");
    const std::wstring inSettings = HotkeyTakenInSettingsText(hotkey, L"<reason>");
    EXPECT_EQ(inSettings.rfind(L"Ctrl+Alt+E is used by another program.", 0), 0u);
    EXPECT_EQ(inSettings.find(L"in Settings"), std::wstring::npos);
    EXPECT_NE(inSettings.find(L"<reason>"), std::wstring::npos);
}

TEST(HotkeyUse, AKeyNeedsCtrlAltOrWin) {
    EXPECT_TRUE(IsUsableHotkey({kModWin, 'E'}));
    EXPECT_TRUE(IsUsableHotkey({kModAlt | kModShift, 0x70}));
    EXPECT_TRUE(IsUsableHotkey({kModControl, 0x2E}));
    EXPECT_FALSE(IsUsableHotkey({kModShift, 0x70}));
    EXPECT_FALSE(IsUsableHotkey({0, 0x2E}));
    EXPECT_FALSE(IsUsableHotkey({kCtrlAlt, 0}));
}
