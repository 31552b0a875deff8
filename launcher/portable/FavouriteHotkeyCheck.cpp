#include "FavouriteHotkeyCheck.h"

namespace launcher {

std::optional<std::size_t> HotkeyHolder(const Hotkey& combination, const Hotkey& mainHotkey,
                                        const std::vector<Favourite>& list, std::size_t except) {
    if (combination.IsNone()) return std::nullopt;
    if (combination == mainHotkey) return kMainFolder;
    for (std::size_t index = 0; index < list.size(); ++index) {
        if (index == except) continue;
        const auto other = ParseHotkey(list[index].hotkey);
        if (other && *other == combination) return index;
    }
    return std::nullopt;
}

std::vector<FavouriteHotkey> CheckFavouriteHotkeys(const std::vector<Favourite>& list, const Hotkey& mainHotkey,
                                                   const KeyboardLayout& layout) {
    std::vector<FavouriteHotkey> checks;
    for (const Favourite& favourite : list) {
        FavouriteHotkey check;
        const auto parsed = ParseHotkey(favourite.hotkey);
        check.unreadable = !parsed;
        if (parsed && !parsed->IsNone()) {
            check.combination = *parsed;
            check.verdict = JudgeHotkey(*parsed, layout);
            if (*parsed == mainHotkey) check.givenTwice = kMainFolder;
            for (std::size_t earlier = 0; earlier < checks.size() && !check.givenTwice; ++earlier)
                if (checks[earlier].ToTake() == *parsed) check.givenTwice = earlier;
        }
        checks.push_back(check);
    }
    return checks;
}

}  // namespace launcher
