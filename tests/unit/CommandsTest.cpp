#include <gtest/gtest.h>

#include "Commands.h"
#include "LauncherWindow.h"
#include "SingleStart.h"
#include "TrayGestures.h"

#include <algorithm>
#include <iterator>
#include "resource.h"

using namespace launcher;

namespace {

constexpr Command kOpenExplorer{CommandKind::OpenExplorer};

Command Favourite(std::size_t index) { return {CommandKind::OpenFavourite, index}; }

}  // namespace

TEST(Commands, EachWayOfAskingHasItsCommand) {
    EXPECT_EQ(CommandForMenuItem(IDM_AUTOSTART), Command{CommandKind::SwitchAutostart});
    EXPECT_EQ(CommandForMenuItem(IDM_ABOUT), Command{CommandKind::ShowAbout});
    EXPECT_EQ(CommandForMenuItem(IDM_SETTINGS), Command{CommandKind::ShowSettings});
    EXPECT_EQ(CommandForMenuItem(IDM_EXIT), Command{CommandKind::Exit});
    EXPECT_EQ(CommandForMenuItem(IDM_EXPLORER), kOpenExplorer);
    EXPECT_EQ(CommandForMenuItem(0), std::nullopt) << "a dismissed menu";
    EXPECT_EQ(CommandForMenuItem(IDM_EXPLORER - 1), std::nullopt) << "no item";
    EXPECT_EQ(CommandForTrayClick(), kOpenExplorer);
    EXPECT_EQ(CommandForHotkey(), kOpenExplorer);
    // The rows above hold only while commands of another kind or favourite differ.
    EXPECT_FALSE(Command{CommandKind::Exit} == kOpenExplorer);
    EXPECT_FALSE(Favourite(0) == Favourite(1));
}

TEST(Commands, EachFavouriteHasAMenuItemAndAHotkeyId) {
    struct Case {
        int id;
        std::optional<Command> command;
    } menuItems[] = {{FavouriteMenuId(0), Favourite(0)},
                     {FavouriteMenuId(19), Favourite(19)},
                     {FavouriteMenuId(20), std::nullopt},
                     {IDM_FIRST_FAVOURITE - 1, std::nullopt}},
      hotkeys[] = {{kMainHotkeyIds[0], kOpenExplorer},
                   {kMainHotkeyIds[1], kOpenExplorer},
                   {0, std::nullopt},
                   {3, std::nullopt},
                   {FavouriteHotkeyId(0), Favourite(0)},
                   {FavouriteHotkeyId(19), Favourite(19)},
                   {FavouriteHotkeyId(20), std::nullopt},
                   {kFirstFavouriteHotkeyId - 1, std::nullopt}};
    for (const Case& c : menuItems) EXPECT_EQ(CommandForMenuItem(c.id), c.command) << c.id;
    for (const Case& c : hotkeys) EXPECT_EQ(CommandForHotkey(c.id), c.command) << c.id;
    EXPECT_EQ(FavouriteMenuId(0), IDM_FIRST_FAVOURITE);
    EXPECT_EQ(FavouriteHotkeyId(1), kFirstFavouriteHotkeyId + 1);
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
    pending.Set(Command{CommandKind::ShowAbout});
    pending.Set(Favourite(3));
    pending.Set(Favourite(2));
    EXPECT_TRUE(pending.Waiting());
    EXPECT_EQ(pending.Take(), Favourite(2));
    EXPECT_FALSE(pending.Waiting());
    EXPECT_EQ(pending.Take(), std::nullopt) << "a later tick runs nothing again";
}

// A start that finds the launcher's name taken hands over only to a launcher
// of the user's own, and says so when something else holds it.
TEST(SingleStart, WhatAStartDoesWithTheName) {
    using D = StartDecision;
    const struct {
        NameClaim claim;
        bool ownedByUser;
        D decision;
    } cases[] = {
        {NameClaim::Created, true, D::Run},       {NameClaim::Created, false, D::Run},
        {NameClaim::Failed, false, D::Run},       {NameClaim::Exists, true, D::AskRunningOne},
        {NameClaim::Exists, false, D::ReportHeld}, {NameClaim::Denied, true, D::ReportHeld},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecideStart({c.claim, c.ownedByUser}), c.decision) << static_cast<int>(c.claim) << c.ownedByUser;
    EXPECT_EQ(AfterLookingForLauncher(true), D::AskRunningOne);
    EXPECT_EQ(AfterLookingForLauncher(false), D::ReportHeld);
    const std::wstring text = NameHeldText(L"Local\\Tolvane.Launcher.S-1-5-21-1");
    EXPECT_NE(text.find(L"not Tolvane, holds the name Tolvane uses to run once per user (Local\\Tolvane.Launcher.S-1-5-21-1)"),
              std::wstring::npos);
}
