#include "Commands.h"

#include "resource.h"

namespace launcher {

std::optional<Command> CommandForMenuItem(int menuId) {
    switch (menuId) {
    case IDM_AUTOSTART:
        return Command::SwitchAutostart;
    case IDM_ABOUT:
        return Command::ShowAbout;
    case IDM_SETTINGS:
        return Command::ShowSettings;
    case IDM_EXIT:
        return Command::Exit;
    case IDM_EXPLORER:
        return Command::OpenExplorer;
    default:
        return std::nullopt;
    }
}

Command CommandForTrayClick() { return Command::OpenExplorer; }

Command CommandForHotkey() { return Command::OpenExplorer; }

}  // namespace launcher
