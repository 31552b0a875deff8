#include <gtest/gtest.h>

#include "WindowsKeyFilter.h"

#include <set>
#include <vector>

using namespace launcher;

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
        {"Win held down after Win+E repeats", {{0x5B, true, 0, 0, 0}, {'E', true, 1, 1, 0}, {'E', false, 1, 0, 0},
                                               {0x5B, true, 0, 0, 0}, {0x5B, true, 0, 0, 0}, {0x5B, false, 0, 0, 1}}},
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

