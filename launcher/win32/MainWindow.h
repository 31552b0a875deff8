#pragma once
#include <windows.h>

#include <string>

#include "Commands.h"
#include "GlobalHotkey.h"
#include "Handles.h"
#include "Hotkey.h"
#include "TrayGestures.h"
#include "TrayIcon.h"
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
    void OpenExplorer();

    void UseStoredHotkey();
    // A warning, or a note whose click opens the folder.
    void ShowBalloon(const std::wstring& text, bool opensFolder);

    TrayIcon m_tray;
    GlobalHotkey m_hotkey;
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
