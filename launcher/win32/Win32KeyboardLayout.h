#pragma once
#include <vector>

#include "FavouriteHotkeyCheck.h"
#include "HotkeyRule.h"

namespace launcher {

// The keyboard layout this thread types with, asked with ToUnicodeEx.
class Win32KeyboardLayout final : public KeyboardLayout {
public:
    std::wstring AltGrText(unsigned key) const override;
};

// The rule for a combination here, with the current layout.
inline HotkeyVerdict JudgeHotkeyHere(const Hotkey& hotkey) { return JudgeHotkey(hotkey, Win32KeyboardLayout()); }
inline std::vector<FavouriteHotkey> CheckFavouriteHotkeys(const std::vector<Favourite>& list, const Hotkey& mainHotkey) {
    return CheckFavouriteHotkeys(list, mainHotkey, Win32KeyboardLayout());
}

}  // namespace launcher
