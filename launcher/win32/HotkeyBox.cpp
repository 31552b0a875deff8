#include "HotkeyBox.h"

#include <commctrl.h>

namespace launcher {

void PrepareHotkeyBox(HWND box, const std::optional<Hotkey>& shown) {
    SendMessageW(box, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    if (shown) SendMessageW(box, HKM_SETHOTKEY, ToHotkeyControl(*shown), 0);
}

std::optional<Hotkey> TypedHotkey(HWND box) {
    const Hotkey typed = FromHotkeyControl(static_cast<unsigned>(SendMessageW(box, HKM_GETHOTKEY, 0, 0)));
    if (typed.IsNone()) return typed;
    // A key without a name (a punctuation key, say) cannot be stored as text,
    // and one without Ctrl, Alt or Win would be taken from every program.
    return ParseHotkey(FormatHotkey(typed));
}

void EnableHotkeyBox(HWND box, bool enable) {
    EnableWindow(box, enable ? TRUE : FALSE);
    InvalidateRect(box, nullptr, TRUE);
}

}  // namespace launcher
