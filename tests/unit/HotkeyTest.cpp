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
        {L"Shift+F24", Hotkey{kModShift, 0x87}, L"Shift+F24"},
        {L"F9", Hotkey{0, 0x78}, L"F9"},
        {L"Win+E", Hotkey{kModWin, 'E'}, L"Win+E"},
        {L"Ctrl+Shift+7", Hotkey{kModControl | kModShift, '7'}, L"Ctrl+Shift+7"},
        {L"Ctrl+Alt+Space", Hotkey{kCtrlAlt, 0x20}, L"Ctrl+Alt+Space"},
        {L"Ctrl+Alt+Left", Hotkey{kCtrlAlt, 0x25}, L"Ctrl+Alt+Left"},
        {L"Win+Down", Hotkey{kModWin, 0x28}, L"Win+Down"},
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
        {0x077B, {kCtrlAlt | kModShift, 0x7B}},  // all three, F12
        {0x0E25, {kCtrlAlt, 0x25}},              // an arrow is an extended key
        {0x0000, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FromHotkeyControl(c.word), c.hotkey) << std::hex << c.word;
        EXPECT_EQ(ToHotkeyControl(c.hotkey), c.word) << std::hex << c.word;
    }
}

TEST(WindowsExplorerKey, TakesWinEOnlyAndKeepsTheStartMenuClosed) {
    using D = WindowsExplorerKeyFilter::Decision;
    struct Step {
        unsigned key;
        bool down;
        bool swallow, open, mask;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    } cases[] = {
        {"Win+E", {{0x5B, true, false, false, false}, {'E', true, true, true, false}, {'E', false, true, false, false},
                   {0x5B, false, false, false, true}}},
        {"right Win, E held down repeats", {{0x5C, true, 0, 0, 0}, {'E', true, 1, 1, 0}, {'E', true, 1, 0, 0},
                                            {'E', false, 1, 0, 0}, {0x5C, false, 0, 0, 1}}},
        {"Win released before E", {{0x5B, true, 0, 0, 0}, {'E', true, 1, 1, 0}, {0x5B, false, 0, 0, 1},
                                   {'E', false, 1, 0, 0}}},
        {"Win+Ctrl+E is not ours", {{0x5B, true, 0, 0, 0}, {0xA2, true, 0, 0, 0}, {'E', true, 0, 0, 0},
                                    {'E', false, 0, 0, 0}, {0xA2, false, 0, 0, 0}, {0x5B, false, 0, 0, 0}}},
        {"Win+Shift+E is not ours", {{0x5B, true, 0, 0, 0}, {0x10, true, 0, 0, 0}, {'E', true, 0, 0, 0},
                                     {'E', false, 0, 0, 0}}},
        {"E alone passes", {{'E', true, 0, 0, 0}, {'E', false, 0, 0, 0}}},
        {"Win alone passes", {{0x5B, true, 0, 0, 0}, {0x5B, false, 0, 0, 0}}},
        {"Win+D then Win+E twice", {{0x5B, true, 0, 0, 0}, {'D', true, 0, 0, 0}, {'D', false, 0, 0, 0},
                                    {'E', true, 1, 1, 0}, {'E', false, 1, 0, 0}, {'E', true, 1, 1, 0},
                                    {'E', false, 1, 0, 0}, {0x5B, false, 0, 0, 1}}},
    };
    for (const Case& c : cases) {
        WindowsExplorerKeyFilter filter;
        int index = 0;
        for (const Step& s : c.steps) {
            const D d = filter.OnKey(s.key, s.down);
            EXPECT_EQ(d.swallow, s.swallow) << c.name << " step " << index;
            EXPECT_EQ(d.openExplorer, s.open) << c.name << " step " << index;
            EXPECT_EQ(d.sendMaskKey, s.mask) << c.name << " step " << index;
            ++index;
        }
    }
}
