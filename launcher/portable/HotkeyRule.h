#pragma once
// Which combinations a launcher may take from every program on the desktop:
// one rule for the hotkey boxes and for every stored value.
#include <optional>
#include <string>

#include "Hotkey.h"

namespace launcher {

// What the current keyboard layout types with AltGr, which Windows also
// reads from Ctrl+Alt: ToUnicodeEx on Windows, a table in the tests.
class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    // The text Ctrl+Alt+key types; "" when it types nothing.
    virtual std::wstring AltGrText(unsigned key) const = 0;
};

enum class HotkeyRefusal {
    None,
    NoModifier,  // Shift alone or nothing: the key itself would be taken
    Typing,      // Alt or Ctrl alone with a key that menus, Save, Copy or typing need
    Windows,     // the system's own: Alt+F4, Alt+Tab, Ctrl+Esc ...
    AltGr,       // Ctrl+Alt with a key the layout types a character with
};

struct HotkeyVerdict {
    HotkeyRefusal refusal = HotkeyRefusal::None;
    std::wstring typed;  // AltGr: what the layout types
    bool Allowed() const { return refusal == HotkeyRefusal::None; }
};

// No hotkey is always allowed. Win with any key, Ctrl+Shift, Alt+Shift and
// three modifiers stay allowed, apart from the system's own.
HotkeyVerdict JudgeHotkey(const Hotkey& hotkey, const KeyboardLayout& layout);

// Why, in a few words ("menus need it"), short enough for the one line
// beside the box; "" when allowed.
std::wstring HotkeyRefusalReason(const Hotkey& hotkey, const HotkeyVerdict& verdict);
// Beside the hotkey box, in one short line: why the combination is not taken.
std::wstring HotkeyRefusalNote(const Hotkey& hotkey, const HotkeyVerdict& verdict);
// Said once, in the balloon at start, of a stored value that counts as none.
std::wstring StoredHotkeyRefusedText(const Hotkey& hotkey, const HotkeyVerdict& verdict);

}  // namespace launcher
