#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Commands.h"
#include "FavouriteHotkeys.h"
#include "FavouriteTexts.h"
#include "GlobalHotkey.h"
#include "Handles.h"
#include "Hotkey.h"
#include "TrayGestures.h"
#include "TrayIcon.h"
#include "Win32KeyboardLayout.h"
#include "Window.h"

namespace launcher {

// The launcher's hidden main window: it hosts the tray icon, the tray menu,
// the hotkey and the timer that runs each command after menus and
// notifications have returned. A top-level window, never shown, not a
// message-only one, so that the TaskbarCreated broadcast reaches it; a close
// message sent to it (by an installer, or at the session's end) ends Tolvane.
class MainWindow final : public winkit::Window {
public:
    static MainWindow& Instance();
    bool Open();
    // The Settings dialog's new combination, taken before it is stored.
    winkit::Win32Result UseHotkey(const Hotkey& hotkey);
    const Hotkey& ActiveHotkey() const { return m_hotkey.Current(); }

    // The favourites in the menu and on their hotkeys, and whether another
    // program held a favourite's combination when it was taken.
    const FavouriteList& Favourites() const { return m_favourites; }
    bool FavouriteHotkeyRefused(std::size_t index) const;
    // The combinations of a new list, taken before it is stored: at a refusal
    // the list in use takes its own again, and the refused favourite and the
    // reason come back.
    std::optional<std::pair<std::size_t, winkit::Win32Result>> TakeFavouriteHotkeys(
        const std::vector<Favourite>& entries);
    // The list for the menu and the hotkeys from now on; the favourites whose
    // hotkeys are given twice or held by another program.
    std::vector<HotkeyNotTaken> UseFavourites(const FavouriteList& list);

private:
    MainWindow() = default;

    void OnDestroy() override;
    void OnDpiChanged(UINT dpi) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnFailure() override;

    void OnTrayNotification(WPARAM wParam, LPARAM lParam);
    // The command chosen, if any.
    std::optional<Command> ShowTrayMenu(POINT at, bool fromKeyboard);
    void Defer(Command command);
    void OnTimer();
    void Run(Command command);

    void SetAutostartMark(bool checked);
    void SwitchAutostart();
    // A favourite's problem with its folder names the favourite.
    void OpenExplorer(const LaunchSettings& settings, const Favourite* favourite = nullptr);
    void OpenFavourite(std::size_t index);
    // The favourites' items and "Open Explorer", each with its keys.
    void ShowFavouritesInMenu();

    // What a balloon has to say about it, if anything.
    std::wstring UseStoredHotkey();
    // The combination pressed, handed to the hotkey box that has the focus
    // instead of run; false when no hotkey box has it.
    bool TypeIntoHotkeyBox(const Command& command);
    // A warning, or a note whose click opens the folder.
    void ShowBalloon(const std::wstring& text, bool opensFolder);

    TrayIcon m_tray;
    GlobalHotkey m_hotkey;
    FavouriteList m_favourites;
    FavouriteHotkeys m_favouriteHotkeys;
    std::vector<bool> m_favouriteHotkeyRefused;
    std::size_t m_favouriteMenuItems = 0;  // at the top of the menu, the separator after them included
    TrayNotifications m_notifications;
    winkit::UniqueMenu m_menu;
    PendingCommand m_pending;
    std::wstring m_exePath;
    bool m_autostartChecked = false;
    bool m_switchingAutostart = false;
    bool m_balloonOpensFolder = false;
    UINT m_taskbarCreated = 0;
};

}  // namespace launcher
