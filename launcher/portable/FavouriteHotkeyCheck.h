#pragma once
// The favourites' combinations against the rule, the main folder's and each other.
#include <cstddef>
#include <optional>
#include <vector>

#include "Favourites.h"
#include "Hotkey.h"
#include "HotkeyRule.h"

namespace launcher {

// Who already has a combination: the main folder, or another favourite.
inline constexpr std::size_t kMainFolder = static_cast<std::size_t>(-1);
std::optional<std::size_t> HotkeyHolder(const Hotkey& combination, const Hotkey& mainHotkey,
                                        const std::vector<Favourite>& list, std::size_t except);

// Each favourite's combination and whether it can be taken: not when the
// rule refuses it, nor when the main folder or an earlier favourite has it
// already (given twice). Unreadable text counts as no hotkey.
struct FavouriteHotkey {
    Hotkey combination;  // none: no hotkey, or unreadable text
    bool unreadable = false;
    HotkeyVerdict verdict;
    std::optional<std::size_t> givenTwice;  // the holder: kMainFolder or an earlier favourite
    // What to register: the combination, or none.
    Hotkey ToTake() const { return givenTwice || !verdict.Allowed() ? Hotkey{} : combination; }
};
std::vector<FavouriteHotkey> CheckFavouriteHotkeys(const std::vector<Favourite>& list, const Hotkey& mainHotkey,
                                                   const KeyboardLayout& layout);

}  // namespace launcher
