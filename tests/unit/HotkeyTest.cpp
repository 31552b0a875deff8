#include <gtest/gtest.h>

#include "Hotkey.h"

#include <set>
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

namespace {

// What GetAsyncKeyState answers: a key the filter let pass counts as held
// from its next call on; a swallowed one never does.
class FakeKeyboard final : public KeyboardState {
public:
    bool IsDown(unsigned key) override {
        auto held = [this](unsigned k) { return m_held.count(k) != 0; };
        switch (key) {
        case 0x10:
            return held(0xA0) || held(0xA1) || held(0x10);
        case 0x11:
            return held(0xA2) || held(0xA3) || held(0x11);
        case 0x12:
            return held(0xA4) || held(0xA5) || held(0x12);
        default:
            return held(key);
        }
    }
    void Set(unsigned key, bool down) {
        if (down)
            m_held.insert(key);
        else
            m_held.erase(key);
    }

private:
    std::set<unsigned> m_held;
};

}  // namespace

TEST(WindowsExplorerKey, TakesWinEOnlyAndKeepsTheStartMenuClosed) {
    using D = WindowsExplorerKeyFilter::Decision;
    struct Step {
        unsigned key;
        bool down;
        bool swallow, open, mask;
        bool seen = true;  // false: on another desktop, the hook never hears of it
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
        {"Win+right Ctrl+E is not ours", {{0x5B, true, 0, 0, 0}, {0xA3, true, 0, 0, 0}, {'E', true, 0, 0, 0}}},
        {"Win+right Alt+E is not ours", {{0x5B, true, 0, 0, 0}, {0xA5, true, 0, 0, 0}, {'E', true, 0, 0, 0}}},
        {"Win+left Alt+E is not ours", {{0xA4, true, 0, 0, 0}, {0x5C, true, 0, 0, 0}, {'E', true, 0, 0, 0}}},
        {"Ctrl pressed and released before Win+E", {{0xA2, true, 0, 0, 0}, {0xA2, false, 0, 0, 0},
                                                    {0x5B, true, 0, 0, 0}, {'E', true, 1, 1, 0}}},
        {"E alone passes", {{'E', true, 0, 0, 0}, {'E', false, 0, 0, 0}}},
        {"Win alone passes", {{0x5B, true, 0, 0, 0}, {0x5B, false, 0, 0, 0}}},
        {"Win+D then Win+E twice", {{0x5B, true, 0, 0, 0}, {'D', true, 0, 0, 0}, {'D', false, 0, 0, 0},
                                    {'E', true, 1, 1, 0}, {'E', false, 1, 0, 0}, {'E', true, 1, 1, 0},
                                    {'E', false, 1, 0, 0}, {0x5B, false, 0, 0, 1}}},
        // Releases that went to the lock screen or the secure desktop.
        {"Win+L, no Win up, then E", {{0x5B, true, 0, 0, 0}, {'L', true, 0, 0, 0}, {'L', false, 0, 0, 0, false},
                                      {0x5B, false, 0, 0, 0, false}, {'E', true, 0, 0, 0}, {'E', false, 0, 0, 0}}},
        {"Ctrl down with no up, then Win+E", {{0xA2, true, 0, 0, 0}, {0xA4, true, 0, 0, 0},
                                              {0xA2, false, 0, 0, 0, false}, {0xA4, false, 0, 0, 0, false},
                                              {0x5B, true, 0, 0, 0}, {'E', true, 1, 1, 0}, {'E', false, 1, 0, 0},
                                              {0x5B, false, 0, 0, 1}}},
        {"Win+E, the lock screen, then Win alone opens the Start menu",
         {{0x5B, true, 0, 0, 0}, {'E', true, 1, 1, 0}, {'E', false, 1, 0, 0}, {0x5B, false, 0, 0, 0, false},
          {0x5B, true, 0, 0, 0}, {0x5B, false, 0, 0, 0}}},
        {"E held across the lock screen, then E alone passes",
         {{0x5B, true, 0, 0, 0}, {'E', true, 1, 1, 0}, {0x5B, false, 0, 0, 0, false}, {'E', false, 0, 0, 0, false},
          {'E', true, 0, 0, 0}, {'E', false, 0, 0, 0}}},
        {"another key between two Win+E is no auto-repeat",
         {{0x5B, true, 0, 0, 0}, {'E', true, 1, 1, 0}, {'E', false, 0, 0, 0, false}, {0xE8, true, 0, 0, 0},
          {'E', true, 1, 1, 0}}},
    };
    for (const Case& c : cases) {
        WindowsExplorerKeyFilter filter;
        FakeKeyboard keyboard;
        int index = 0;
        for (const Step& s : c.steps) {
            if (s.seen) {
                const D d = filter.OnKey(s.key, s.down, keyboard);
                EXPECT_EQ(d.swallow, s.swallow) << c.name << " step " << index;
                EXPECT_EQ(d.openExplorer, s.open) << c.name << " step " << index;
                EXPECT_EQ(d.sendMaskKey, s.mask) << c.name << " step " << index;
                if (!d.swallow) keyboard.Set(s.key, s.down);
            } else {
                keyboard.Set(s.key, s.down);
            }
            ++index;
        }
    }
}

TEST(HotkeyUse, AKeyNeedsCtrlAltOrWin) {
    EXPECT_TRUE(IsUsableHotkey({kModWin, 'E'}));
    EXPECT_TRUE(IsUsableHotkey({kModAlt | kModShift, 0x70}));
    EXPECT_TRUE(IsUsableHotkey({kModControl, 0x2E}));
    EXPECT_FALSE(IsUsableHotkey({kModShift, 0x70}));
    EXPECT_FALSE(IsUsableHotkey({0, 0x2E}));
    EXPECT_FALSE(IsUsableHotkey({kCtrlAlt, 0}));
}
