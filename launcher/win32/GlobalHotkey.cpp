#include "GlobalHotkey.h"

#include "Join.h"
#include "LauncherWindow.h"

namespace launcher {

winkit::Win32Result GlobalHotkey::Set(HWND owner, const Hotkey& hotkey) {
    if (hotkey == m_hotkey && owner == m_owner) return {};
    if (hotkey.IsNone()) {
        Clear();
        return {};
    }
    const std::wstring name = ShownHotkey(hotkey);
    // A key without Ctrl, Alt or Win would be taken from every program.
    if (!IsUsableHotkey(hotkey))
        return winkit::Win32Result::Failure(winkit::kErrorInvalidParameter, L"Could not register " + name);
    if (hotkey.IsWindowsExplorerKey()) {
        if (!m_windowsKey.Running()) {
            const winkit::Win32Result started = m_windowsKey.Start(owner, kWindowsKeyMessage);
            if (!started.Ok()) return winkit::Win32Result::Failure(started.code, winkit::Join({started.operation, L" for ", name}));
        }
        if (m_registered) UnregisterHotKey(m_owner, m_id);
        m_registered = false;
    } else {
        // The new combination under the other id, so that the old one keeps
        // working when another program holds the new one.
        const int id = m_id == kMainHotkeyIds[0] ? kMainHotkeyIds[1] : kMainHotkeyIds[0];
        if (!RegisterHotKey(owner, id, hotkey.modifiers | MOD_NOREPEAT, hotkey.key))
            return winkit::LastError(L"Could not register " + name);
        if (m_registered) UnregisterHotKey(m_owner, m_id);
        m_windowsKey.Stop();
        m_id = id;
        m_registered = true;
    }
    m_owner = owner;
    m_hotkey = hotkey;
    return {};
}

void GlobalHotkey::Clear() {
    if (m_registered) UnregisterHotKey(m_owner, m_id);
    m_windowsKey.Stop();
    m_registered = false;
    m_hotkey = Hotkey{};
}

}  // namespace launcher
