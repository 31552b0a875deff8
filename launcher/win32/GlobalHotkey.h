#pragma once
#include <windows.h>

#include "Commands.h"
#include "Error.h"
#include "Hotkey.h"
#include "WindowsKeyHook.h"

namespace launcher {

// The key combination that opens the Explorer from anywhere. Ordinary
// combinations are registered with RegisterHotKey on the main window (it gets
// WM_HOTKEY); Win+E, which Windows keeps for itself, is taken by the keyboard
// hook, which posts the main window kWindowsKeyMessage instead.
class GlobalHotkey {
public:
    GlobalHotkey() = default;
    GlobalHotkey(const GlobalHotkey&) = delete;
    GlobalHotkey& operator=(const GlobalHotkey&) = delete;
    ~GlobalHotkey() { Clear(); }

    // Takes the new combination first, and only then lets the old one go, so
    // that a combination another program holds leaves the old one working.
    winkit::Win32Result Set(HWND owner, const Hotkey& hotkey);
    void Clear();
    // The combination in use, to go back to when the new one cannot be stored.
    const Hotkey& Current() const { return m_hotkey; }

private:
    HWND m_owner = nullptr;
    Hotkey m_hotkey;
    int m_id = kMainHotkeyIds[0];  // of the registered combination
    bool m_registered = false;
    WindowsKeyHook m_windowsKey;
};

}  // namespace launcher
