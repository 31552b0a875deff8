#pragma once
// Everything the launcher does for the user is a command: chosen in the tray
// menu, asked for by a tray gesture or a hotkey, and run on the next tick of
// a short timer, after the menu or the notification has returned.
#include <cstddef>
#include <optional>

#include "LauncherTexts.h"
#include "resource.h"

namespace launcher {

// The tray menu without favourites, top to bottom; id 0 is a separator.
struct MenuItem {
    unsigned id;
    TextId text;
};
inline constexpr MenuItem kTrayMenuItems[] = {
    {IDM_AUTOSTART, TextId::MenuAutostart}, {IDM_ABOUT, TextId::MenuAbout}, {IDM_SETTINGS, TextId::MenuSettings},
    {IDM_EXIT, TextId::MenuExit},           {0, TextId::Count},             {IDM_EXPLORER, TextId::MenuExplorer}};

enum class CommandKind { SwitchAutostart, ShowAbout, ShowSettings, Exit, OpenExplorer, OpenFavourite };
struct Command {
    CommandKind kind;
    std::size_t favourite = 0;  // OpenFavourite: its place in the list
    bool operator==(const Command& other) const { return kind == other.kind && favourite == other.favourite; }
};

// A favourite's menu item (from IDM_FIRST_FAVOURITE, resource.h) and its
// hotkey's id. The main folder's combination takes one of kMainHotkeyIds, the
// other taking the next one before it goes.
int FavouriteMenuId(std::size_t favourite);
inline constexpr int kMainHotkeyIds[] = {1, 2};
inline constexpr int kFirstFavouriteHotkeyId = 0x100;
int FavouriteHotkeyId(std::size_t favourite);

inline constexpr unsigned kCommandDelayMs = 100;

// The one place where each way of asking becomes a command.
std::optional<Command> CommandForMenuItem(int menuId);  // nothing: a dismissed menu, a separator
Command CommandForTrayClick();                          // a left click, Enter or Space on the icon
Command CommandForHotkey();                             // the main hotkey, or Win+E through the hook
std::optional<Command> CommandForHotkey(int hotkeyId);  // WM_HOTKEY's id; nothing: not one of ours

// The command waiting for the timer: at most one; a second before the tick
// replaces the first.
class PendingCommand {
public:
    void Set(Command command) { m_command = command; }
    // A timer tick: the command to run, once.
    std::optional<Command> Take() {
        const auto command = m_command;
        m_command.reset();
        return command;
    }
    bool Waiting() const { return m_command.has_value(); }

private:
    std::optional<Command> m_command;
};

}  // namespace launcher
