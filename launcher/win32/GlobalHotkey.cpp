#include "GlobalHotkey.h"

namespace launcher {

namespace {

// The hook procedure has no context argument; one launcher has one hook.
HWND g_hookOwner = nullptr;
WindowsExplorerKeyFilter g_filter;

void SendMaskKey() {
    INPUT input[2] = {};
    for (INPUT& key : input) {
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = static_cast<WORD>(kMaskKey);
    }
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

}  // namespace

LRESULT CALLBACK GlobalHotkey::KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        // Our own mask key comes back through here. Other injected keys count
        // (an on-screen keyboard's Win+E is the user's too).
        if (!((key->flags & LLKHF_INJECTED) != 0 && key->vkCode == kMaskKey)) {
            const bool down = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
            const auto decision = g_filter.OnKey(key->vkCode, down);
            // Windows drops a hook that keeps it waiting: only post and send here.
            if (decision.openExplorer) PostMessageW(g_hookOwner, WM_HOTKEY, 0, 0);
            if (decision.sendMaskKey) SendMaskKey();
            if (decision.swallow) return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

winkit::Win32Result GlobalHotkey::Set(HWND owner, const Hotkey& hotkey) {
    if (hotkey == m_hotkey && owner == m_owner) return {};
    if (hotkey.IsNone()) {
        Clear();
        return {};
    }
    const std::wstring name = FormatHotkey(hotkey);
    if (hotkey.IsWindowsExplorerKey()) {
        if (m_hook == nullptr) {
            g_hookOwner = owner;
            g_filter = WindowsExplorerKeyFilter{};
            m_hook = SetWindowsHookExW(WH_KEYBOARD_LL, &GlobalHotkey::KeyboardProc, GetModuleHandleW(nullptr), 0);
            if (m_hook == nullptr) return winkit::LastError(L"Could not watch the keyboard for " + name);
        }
        if (m_registered) UnregisterHotKey(m_owner, m_id);
        m_registered = false;
    } else {
        // The new combination under the other id, so that the old one keeps
        // working when another program holds the new one.
        const int id = m_id == 1 ? 2 : 1;
        if (!RegisterHotKey(owner, id, hotkey.modifiers | MOD_NOREPEAT, hotkey.key))
            return winkit::LastError(L"Could not register " + name);
        if (m_registered) UnregisterHotKey(m_owner, m_id);
        if (m_hook != nullptr) UnhookWindowsHookEx(m_hook);
        m_hook = nullptr;
        m_id = id;
        m_registered = true;
    }
    m_owner = owner;
    m_hotkey = hotkey;
    return {};
}

void GlobalHotkey::Clear() {
    if (m_registered) UnregisterHotKey(m_owner, m_id);
    if (m_hook != nullptr) UnhookWindowsHookEx(m_hook);
    m_registered = false;
    m_hook = nullptr;
    m_hotkey = Hotkey{};
}

}  // namespace launcher
