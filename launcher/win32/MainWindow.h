#pragma once
#include <windows.h>

#include <string>

#include "Actions.h"
#include "GlobalHotkey.h"
#include "Hotkey.h"
#include "Handles.h"
#include "TrayIcon.h"
#include "Window.h"

namespace launcher {

// The launcher's hidden main window: owner of the tray icon, the tray menu and
// the timer that runs each action after menus and notifications have
// returned; shown, it is the About box. A top-level window, not a
// message-only one, so that the TaskbarCreated broadcast reaches it.
class MainWindow final : public winkit::Window {
public:
    static MainWindow& Instance();
    bool Open();
    // The Settings dialog's new combination, taken before it is stored.
    winkit::Win32Result UseHotkey(const Hotkey& hotkey);
    const Hotkey& ActiveHotkey() const { return m_hotkey.Current(); }

private:
    MainWindow() = default;

    void OnCreate() override;
    void OnDestroy() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnDpiChanged(UINT dpi) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnFailure() override;

    void OnTrayNotification(WPARAM wParam, LPARAM lParam);
    void ShowTrayMenu(POINT at, bool fromKeyboard);
    void Defer(ActionCode action);
    void OnTimer();
    void RunAction(ActionCode action);

    void SetAutostartMark(bool checked);
    void SwitchAutostart();
    void OpenExplorer();
    void ShowAbout();

    void UseStoredHotkey();

    TrayIcon m_tray;
    GlobalHotkey m_hotkey;
    TrayNotifications m_notifications;
    winkit::UniqueMenu m_menu;
    PendingActions m_actions;
    std::wstring m_exePath;
    bool m_autostartChecked = false;
    bool m_switchingAutostart = false;
    UINT m_taskbarCreated = 0;
};

}  // namespace launcher
