#include "Commands.h"

#include "Favourites.h"
#include "resource.h"

namespace launcher {

namespace {

constexpr int kFavourites = static_cast<int>(kMaxFavourites);

}  // namespace

int FavouriteMenuId(std::size_t favourite) { return IDM_FIRST_FAVOURITE + static_cast<int>(favourite); }

int FavouriteHotkeyId(std::size_t favourite) { return kFirstFavouriteHotkeyId + static_cast<int>(favourite); }

std::optional<Command> CommandForMenuItem(int menuId) {
    if (menuId >= IDM_FIRST_FAVOURITE && menuId < IDM_FIRST_FAVOURITE + kFavourites)
        return Command{CommandKind::OpenFavourite, static_cast<std::size_t>(menuId - IDM_FIRST_FAVOURITE)};
    switch (menuId) {
    case IDM_AUTOSTART:
        return Command{CommandKind::SwitchAutostart};
    case IDM_ABOUT:
        return Command{CommandKind::ShowAbout};
    case IDM_SETTINGS:
        return Command{CommandKind::ShowSettings};
    case IDM_EXIT:
        return Command{CommandKind::Exit};
    case IDM_EXPLORER:
        return Command{CommandKind::OpenExplorer};
    default:
        return std::nullopt;
    }
}

Command CommandForTrayClick() { return Command{CommandKind::OpenExplorer}; }

Command CommandForHotkey() { return Command{CommandKind::OpenExplorer}; }

std::optional<Command> CommandForHotkey(int hotkeyId) {
    if (hotkeyId == kMainHotkeyIds[0] || hotkeyId == kMainHotkeyIds[1]) return CommandForHotkey();
    if (hotkeyId >= kFirstFavouriteHotkeyId && hotkeyId < kFirstFavouriteHotkeyId + kFavourites)
        return Command{CommandKind::OpenFavourite, static_cast<std::size_t>(hotkeyId - kFirstFavouriteHotkeyId)};
    return std::nullopt;
}

}  // namespace launcher
