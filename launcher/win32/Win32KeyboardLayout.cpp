#include "Win32KeyboardLayout.h"

#include <windows.h>

namespace launcher {

std::wstring Win32KeyboardLayout::AltGrText(unsigned key) const {
    // AltGr is Ctrl+Alt to Windows: the right Alt and the left Ctrl, as the
    // keyboard sends them.
    BYTE state[256] = {};
    state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
    state[VK_MENU] = state[VK_RMENU] = 0x80;
    HKL layout = GetKeyboardLayout(0);
    const UINT scanCode = MapVirtualKeyExW(key, MAPVK_VK_TO_VSC, layout);
    // Flag 4 (Windows 10 1607 on) leaves the keyboard's dead-key state as it is.
    constexpr UINT kKeepKeyboardState = 4;
    wchar_t text[8] = {};
    const int count = ToUnicodeEx(key, scanCode, state, text, 7, kKeepKeyboardState, layout);
    if (count < 0) {
        // A dead key: older systems keep it waiting for the next key, which
        // the same key again releases.
        wchar_t ignored[8] = {};
        ToUnicodeEx(key, scanCode, state, ignored, 7, kKeepKeyboardState, layout);
        return std::wstring(text, 1);
    }
    return std::wstring(text, static_cast<std::size_t>(count > 7 ? 7 : count));
}

}  // namespace launcher
