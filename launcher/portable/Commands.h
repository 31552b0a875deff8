#pragma once
// Everything the launcher does for the user is a command: chosen in the tray
// menu, asked for by a tray gesture or a hotkey, and run on the next tick of
// a short timer, after the menu or the notification has returned.
#include <optional>

namespace launcher {

enum class Command { SwitchAutostart, ShowAbout, ShowSettings, Exit, OpenExplorer };

// What the Win+E keyboard hook posts the main window (the tray's callback is WM_APP + 1).
inline constexpr unsigned kWindowsKeyMessage = 0x8000 + 2;
// What a second start of the launcher posts the running one before it ends.
inline constexpr unsigned kAlreadyRunningMessage = 0x8000 + 3;

inline constexpr unsigned kCommandDelayMs = 100;

// The one place where each way of asking becomes a command.
std::optional<Command> CommandForMenuItem(int menuId);  // nothing: a dismissed menu, a separator
Command CommandForTrayClick();                          // a left click, Enter or Space on the icon
Command CommandForHotkey();                             // the hotkey, or Win+E through the hook

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
