#include "HotkeyRule.h"

#include "Join.h"
#include "LauncherTexts.h"

namespace launcher {

namespace {

// Virtual-key codes, as Windows defines them.
constexpr unsigned kKeyTab = 0x09;
constexpr unsigned kKeyEscape = 0x1B;
constexpr unsigned kKeyPause = 0x13;
constexpr unsigned kKeyDelete = 0x2E;
constexpr unsigned kKeySnapshot = 0x2C;
constexpr unsigned kKeyF1 = 0x70;
constexpr unsigned kKeyF4 = 0x73;
constexpr unsigned kKeyF10 = 0x79;
constexpr unsigned kKeyF24 = 0x87;

constexpr unsigned kCtrlAlt = kModControl | kModAlt;

// Combinations Windows acts on itself: switching and closing windows, the
// Start menu, the Task Manager, the secure desktop, help and the menu bar.
constexpr Hotkey kWindowsOwn[] = {
    {kModAlt, kKeyF4},      {kModAlt, kKeyTab},   {kModAlt | kModShift, kKeyTab}, {kModAlt, kKeyEscape},
    {kModControl, kKeyEscape}, {kModControl | kModShift, kKeyEscape}, {kCtrlAlt, kKeyDelete},
    {kModAlt, kKeySnapshot}, {0, kKeyF1}, {0, kKeyF10}, {kModShift, kKeyF10},
};

// Keys that Alt or Ctrl alone leave to programs: all but the function keys
// and Pause (letters and digits for menus, Save and Copy; Space, the arrows
// and the editing keys for moving and typing; punctuation and the keypad).
bool LeftToPrograms(unsigned key) { return !((key >= kKeyF1 && key <= kKeyF24) || key == kKeyPause); }

// Windows gives Ctrl with a letter as a control character and Ctrl with
// Space as a blank on every layout: neither is a character AltGr types.
bool IsPrintable(const std::wstring& text) {
    for (wchar_t ch : text)
        if (ch <= L' ' || ch == 0x7F) return false;
    return !text.empty();
}

}  // namespace

HotkeyVerdict JudgeHotkey(const Hotkey& hotkey, const KeyboardLayout& layout) {
    if (hotkey.IsNone()) return {};
    for (const Hotkey& own : kWindowsOwn)
        if (own == hotkey) return {HotkeyRefusal::Windows, {}};
    if (!IsUsableHotkey(hotkey)) return {HotkeyRefusal::NoModifier, {}};
    if ((hotkey.modifiers == kModAlt || hotkey.modifiers == kModControl) && LeftToPrograms(hotkey.key))
        return {HotkeyRefusal::Typing, {}};
    if (hotkey.modifiers == kCtrlAlt) {
        // A dead key (the text of a combining accent) types a character too.
        std::wstring typed = layout.AltGrText(hotkey.key);
        if (IsPrintable(typed)) return {HotkeyRefusal::AltGr, std::move(typed)};
    }
    return {};
}

namespace {

}  // namespace

std::wstring HotkeyRefusalReason(const Hotkey& hotkey, const HotkeyVerdict& verdict) {
    switch (verdict.refusal) {
    case HotkeyRefusal::None:
        break;
    case HotkeyRefusal::NoModifier:
        return Text(TextId::NeedsModifier);
    case HotkeyRefusal::Typing:
        return Text(hotkey.modifiers == kModAlt ? TextId::MenusNeedIt : TextId::OthersNeedIt);
    case HotkeyRefusal::Windows:
        return Text(TextId::WindowsNeedsIt);
    case HotkeyRefusal::AltGr:
        return Format(TextId::TypesCharacter, {verdict.typed});
    }
    return std::wstring();
}

namespace {

// A key without a name (Tab, Esc) has no text to store or show.
std::wstring Named(const Hotkey& hotkey) {
    const std::wstring name = ShownHotkey(hotkey);
    return name.empty() ? std::wstring(Text(TextId::ThisCombination)) : name;
}

}  // namespace

std::wstring HotkeyRefusalNote(const Hotkey& hotkey, const HotkeyVerdict& verdict) {
    if (verdict.Allowed()) return std::wstring();
    return Format(TextId::RefusalNote, {Named(hotkey), HotkeyRefusalReason(hotkey, verdict)});
}

std::wstring StoredHotkeyRefusedText(const Hotkey& hotkey, const HotkeyVerdict& verdict) {
    if (verdict.Allowed()) return std::wstring();
    return Format(TextId::StoredHotkeyRefused, {Named(hotkey), HotkeyRefusalReason(hotkey, verdict)});
}

}  // namespace launcher
