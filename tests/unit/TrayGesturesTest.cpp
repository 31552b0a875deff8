#include <gtest/gtest.h>

#include "TrayGestures.h"

#include <vector>

using namespace launcher;

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
        {"v4 balloon clicked", true, {0x402, kTrayBalloonClick}, 125, TrayGesture::BalloonClicked, false},
        {"v4 balloon closed", true, {0x402, kTrayBalloonHide}, 125, TrayGesture::BalloonGone, false},
        {"v4 balloon timed out", true, {0x402, kTrayBalloonTimeout}, 125, TrayGesture::BalloonGone, false},
        {"v4 another icon's balloon", true, {kTrayBalloonClick}, 126, TrayGesture::None, false},
        {"old shell balloon clicked", false, {kTrayBalloonClick}, 0, TrayGesture::BalloonClicked, false},
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

