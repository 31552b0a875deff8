#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "Handles.h"

namespace launcher {

// The launcher's one icon in the notification area, owned by its main window.
class TrayIcon {
public:
    // Adds the icon (again after the taskbar was recreated) and asks for the
    // version-4 notifications, which also make the icon usable from the keyboard.
    void Add(HWND owner, UINT callbackMessage);
    void Remove();
    // The icon at the small size for the current DPI.
    void Reload();
    // Back to the notification area after a menu opened from the keyboard.
    void ReturnFocus();
    // A notification beside the icon: what needs the user's attention without
    // stopping anything (nothing blocking at logon).
    void ShowBalloon(const std::wstring& title, const std::wstring& text, bool warning);
    bool Version4() const { return m_version4; }

private:
    NOTIFYICONDATAW m_data{};
    winkit::UniqueIcon m_icon;
    bool m_added = false;
    bool m_version4 = false;
};

}  // namespace launcher
