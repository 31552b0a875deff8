#pragma once
// What the launcher says about favourites: entries left out, a folder that
// cannot be opened, combinations given twice or held elsewhere, a list not saved.
#include <cstddef>
#include <string>
#include <vector>

#include "ExplorerLaunch.h"
#include "FavouriteHotkeyCheck.h"
#include "Favourites.h"
#include "Hotkey.h"
#include "HotkeyRule.h"

namespace launcher {

// What the dialog says of entries stored past the first kMaxFavourites.
std::wstring LeftOutText(std::size_t leftOut);

// The message when a favourite's folder cannot be opened: the favourite
// named, and where to mend it.
std::wstring FavouriteFolderProblemText(const ExplorerLaunch& launch, const Favourite& favourite, bool byPolicy);

// The message for a combination that is given already, and its first
// sentence beside the hotkey box (a long name cut shorter).
std::wstring HotkeyGivenText(const Hotkey& combination, std::size_t holder, const std::vector<Favourite>& list);
std::wstring HotkeyGivenNote(const Hotkey& combination, std::size_t holder, const std::vector<Favourite>& list);
// The message for a favourite's combination another program holds.
std::wstring FavouriteHotkeyTakenText(const Favourite& favourite, const Hotkey& combination,
                                      const std::wstring& systemMessage);
// The hotkey as the favourites' list shows it, with what keeps it from working.
std::wstring HotkeyColumnText(const FavouriteHotkey& check, bool usedByAnotherProgram);

// Said once, in a balloon at start: the favourites whose hotkeys do not work.
struct HotkeyNotTaken {
    std::size_t favourite;
    Hotkey combination;
    bool givenTwice;  // else another program holds it, or the rule refuses it
    HotkeyVerdict verdict;
};
std::wstring FavouriteHotkeysNotTakenText(const std::vector<Favourite>& list,
                                          const std::vector<HotkeyNotTaken>& notTaken);

// What was not saved or not removed, the system's reason, and where the
// changes are when the list was not saved.
std::wstring FavouritesSaveFailureText(const FavouritesSaveOutcome& outcome, const std::vector<Favourite>& entries,
                                       const std::wstring& systemMessage);

}  // namespace launcher
