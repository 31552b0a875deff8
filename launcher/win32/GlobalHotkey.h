#pragma once
#include <windows.h>

#include "Error.h"
#include "Hotkey.h"

namespace launcher {

// The key combination that opens the Explorer from anywhere. Ordinary
// combinations are registered with RegisterHotKey on the main window (it gets
// WM_HOTKEY); Win+E, which Windows keeps for itself, is taken by a low-level
// keyboard hook that posts the main window the hotkey message instead.
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
    const Hotkey& Current() const { return m_hotkey; }

private:
    static LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam);

    HWND m_owner = nullptr;
    Hotkey m_hotkey;
    int m_id = 1;  // of the registered combination; the hook posts WM_HOTKEY with 0
    bool m_registered = false;
    HHOOK m_hook = nullptr;
};

}  // namespace launcher
