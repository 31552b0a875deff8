#pragma once
// The "Hotkey" value: a key combination as text ("Ctrl+Alt+E", "Win+Shift+F",
// "Ctrl+Alt+F12", or "Win+E", Windows' own combination), the RegisterHotKey
// form, the hotkey control's form, and what the keyboard hook does for Win+E.
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
    bool operator!=(const Hotkey& other) const { return !(*this == other); }
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

// The hotkey control's word (HKM_GETHOTKEY: key in the low byte, HOTKEYF_*
// in the high byte). It cannot show the Windows key.
Hotkey FromHotkeyControl(unsigned word);
unsigned ToHotkeyControl(const Hotkey& hotkey);

// Which keys are held right now (GetAsyncKeyState on Windows). A low-level
// hook never sees the releases that happen on another desktop (Win+L,
// Ctrl+Alt+Del, a UAC prompt), so what it saw itself may be stale; the
// system's state is asked instead.
class KeyboardState {
public:
    virtual ~KeyboardState() = default;
    // Ctrl, Alt and Shift also by their generic codes (VK_CONTROL, VK_MENU,
    // VK_SHIFT), which cover the left and the right key. The key a hook is
    // called for is not counted yet, nor is a key a hook swallowed.
    virtual bool IsDown(unsigned key) = 0;
};

// What the low-level keyboard hook does with each key while "Win+E" is the
// hotkey: Win+E (no other modifier) opens our Explorer instead of Windows'
// own; the E is swallowed down and up, and before the Windows key's release
// a key that means nothing is sent, or Windows would open the Start menu for
// a Windows key pressed and released alone.
class WindowsExplorerKeyFilter {
public:
    struct Decision {
        bool swallow = false;      // the key goes no further
        bool openExplorer = false;
        bool sendMaskKey = false;  // before this key passes on
    };
    // Keys the hook sent itself (injected) must not come here.
    Decision OnKey(unsigned key, bool down, KeyboardState& keyboard);

private:
    bool m_swallowingE = false;  // the E's release is ours too
    bool m_eRepeats = false;     // a further E down is the held E's auto-repeat
    bool m_maskPending = false;  // the Windows key's release needs the mask key
};

// Said once when another program holds the combination (a balloon at start,
// a message in Settings).
std::wstring HotkeyTakenText(const Hotkey& hotkey);

// An unassigned virtual-key code: pressed and released, it means nothing to
// any program, but Windows no longer sees the Windows key alone.
inline constexpr unsigned kMaskKey = 0xE8;

}  // namespace launcher
