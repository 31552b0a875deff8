#include <gtest/gtest.h>

#include "Commands.h"
#include "TrayGestures.h"

#include <algorithm>
#include <iterator>
#include "resource.h"

using namespace launcher;

TEST(Commands, EachWayOfAskingHasItsCommand) {
    EXPECT_EQ(CommandForMenuItem(IDM_AUTOSTART), Command::SwitchAutostart);
    EXPECT_EQ(CommandForMenuItem(IDM_ABOUT), Command::ShowAbout);
    EXPECT_EQ(CommandForMenuItem(IDM_SETTINGS), Command::ShowSettings);
    EXPECT_EQ(CommandForMenuItem(IDM_EXIT), Command::Exit);
    EXPECT_EQ(CommandForMenuItem(IDM_EXPLORER), Command::OpenExplorer);
    EXPECT_EQ(CommandForMenuItem(0), std::nullopt) << "a dismissed menu";
    EXPECT_EQ(CommandForMenuItem(IDM_EXPLORER - 1), std::nullopt) << "no item";
    EXPECT_EQ(CommandForTrayClick(), Command::OpenExplorer);
    EXPECT_EQ(CommandForHotkey(), Command::OpenExplorer);
}

TEST(Commands, PrivateMessagesAreDistinctAndAboveWmApp) {
    const unsigned messages[] = {kTrayCallbackMessage, kWindowsKeyMessage, kAlreadyRunningMessage};
    for (unsigned message : messages) {
        EXPECT_GE(message, 0x8000u) << std::hex << message;  // WM_APP: no system or dialog message
        EXPECT_LE(message, 0xBFFFu) << std::hex << message;
        EXPECT_EQ(std::count(std::begin(messages), std::end(messages), message), 1) << std::hex << message;
    }
}

TEST(PendingCommands, NothingWaitsAtStart) {
    PendingCommand pending;
    EXPECT_FALSE(pending.Waiting());
    EXPECT_EQ(pending.Take(), std::nullopt);
}

TEST(PendingCommands, OnlyTheLastBeforeATickRunsAndOnlyOnce) {
    PendingCommand pending;
    pending.Set(Command::ShowAbout);
    pending.Set(Command::OpenExplorer);
    EXPECT_TRUE(pending.Waiting());
    EXPECT_EQ(pending.Take(), Command::OpenExplorer);
    EXPECT_FALSE(pending.Waiting());
    EXPECT_EQ(pending.Take(), std::nullopt) << "a later tick runs nothing again";
}
