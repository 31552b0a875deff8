#pragma once
// The hotkey control (comctl32's msctls_hotkey32) as the Settings dialog and
// the favourite's dialog use it.
#include <windows.h>

#include <optional>

#include "Hotkey.h"

namespace launcher {

// Said when the box holds a key that cannot be a hotkey.
inline constexpr wchar_t kUnusableKeyText[] =
    L"This key cannot be used for a hotkey: please choose a letter, a digit, F1 to F24, Space, an arrow or a "
    L"navigation key, together with Ctrl, Alt or both.";
// Windows gives a combination another program holds to that program, so the
// box never sees it and would stay unchanged without a word.
inline constexpr wchar_t kHeldCombinationNote[] = L"A combination another program holds cannot be typed here.";
inline constexpr wchar_t kUnreadableHotkeyNote[] = L"The stored hotkey cannot be read: none is set.";

// A combination without Ctrl or Alt would take a key from every program: the
// box adds Ctrl+Alt to one. Shows the combination (nothing for none).
void PrepareHotkeyBox(HWND box, const std::optional<Hotkey>& shown);
// The combination typed, or nothing for a key that cannot be stored.
std::optional<Hotkey> TypedHotkey(HWND box);
// The box does not repaint itself for WM_ENABLE (seen under Wine).
void EnableHotkeyBox(HWND box, bool enable);

}  // namespace launcher
