#pragma once
// The "Hotkey" value: a key combination as text ("Ctrl+Alt+E", "Win+Shift+F",
// "Ctrl+Alt+F12", or "Win+E", Windows' own combination), the RegisterHotKey
// form and the hotkey control's form.
#include <optional>
#include <string>

namespace launcher {

// RegisterHotKey's modifier bits (MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN).
inline constexpr unsigned kModAlt = 0x1;
inline constexpr unsigned kModControl = 0x2;
inline constexpr unsigned kModShift = 0x4;
inline constexpr unsigned kModWin = 0x8;

struct Hotkey {
    unsigned modifiers = 0;
    unsigned key = 0;  // virtual-key code; 0: no hotkey
    bool IsNone() const { return key == 0; }
    // Windows keeps Win+E for itself: RegisterHotKey cannot have it.
    bool IsWindowsExplorerKey() const { return modifiers == kModWin && key == 'E'; }
    bool operator==(const Hotkey& other) const { return modifiers == other.modifiers && key == other.key; }
};

// Modifiers in any order and letter case, blanks around "+", then one key;
// "" (or blanks) is no hotkey. Nothing when the text cannot be read: an
// unknown name, a modifier twice, no key, two keys, or a key without Ctrl,
// Alt or Win (it would take that key, or Shift and that key, from every
// program on the desktop).
std::optional<Hotkey> ParseHotkey(const std::wstring& text);
// A combination a launcher may take for the whole desktop: a key with Ctrl,
// Alt or Win; Shift alone is not enough.
bool IsUsableHotkey(const Hotkey& hotkey);
// "Win+Ctrl+Alt+Shift+Key" order; "" for no hotkey.
std::wstring FormatHotkey(const Hotkey& hotkey);
// The same as the user reads it, in the program's language ("Strg+Alt+Entf"):
// for menus and messages, never for storing.
std::wstring ShownHotkey(const Hotkey& hotkey);

// The hotkey control's word (HKM_GETHOTKEY: key in the low byte, HOTKEYF_*
// in the high byte). It cannot show the Windows key.
Hotkey FromHotkeyControl(unsigned word);
unsigned ToHotkeyControl(const Hotkey& hotkey);

// Said once when another program holds the combination: in a balloon at
// start, and as the message of the Settings dialog that is already open.
std::wstring HotkeyTakenText(const Hotkey& hotkey);
std::wstring HotkeyTakenInSettingsText(const Hotkey& hotkey, const std::wstring& systemMessage);

}  // namespace launcher
