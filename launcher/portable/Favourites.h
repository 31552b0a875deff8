#pragma once
// Favourite folders: a short list beside the main folder, each with a name,
// a folder, a window mode and a hotkey; the user's own, or a policy's. Read
// from and written to the registry here; captions, hotkey checks and
// messages in the FavouriteCaptions, FavouriteHotkeyCheck and FavouriteTexts files.
#include <cstddef>
#include <string>
#include <vector>

#include "ExplorerLaunch.h"
#include "Registry.h"

namespace launcher {

inline constexpr std::size_t kMaxFavourites = 20;

struct Favourite {
    std::wstring name;
    std::wstring folder;
    std::wstring mode;    // a window-mode name, as stored
    std::wstring hotkey;  // as stored; ParseHotkey reads it
    bool operator==(const Favourite& other) const {
        return name == other.name && folder == other.folder && mode == other.mode && hotkey == other.hotkey;
    }
};

struct FavouriteList {
    std::vector<Favourite> entries;  // in order, at most kMaxFavourites
    // A policy's list replaces the user's; its favourites open in the main
    // folder's window mode and have no hotkeys.
    bool byPolicy = false;
    std::size_t leftOut = 0;  // entries stored past the one that gave the last of kMaxFavourites
};

// The computer's policy, else the user's policy (a list counts when its key
// holds a text value), else the user's own list: subkeys named by numbers, in
// the order of the numbers; other subkeys are not favourites. An entry
// without a folder is skipped.
FavouriteList ReadFavourites(registry::Backend& backend);

// What a favourite's Explorer starts with.
LaunchSettings FavouriteLaunchSettings(const FavouriteList& list, std::size_t index, const LaunchSettings& main);

// The window mode a new favourite starts with: the main folder's (as the
// Settings dialog shows it), or, when that is no known mode, the normal
// window the main folder opens in then.
std::wstring NewFavouriteMode(const std::wstring& mainMode);

// Writes the list as the user's: the new entries beside the old ones, under
// numbers no entry uses, and only when every one was written are the old
// ones removed; a refused entry removes the new ones again, so that the
// stored list is the old one or the new one, never a mix.
struct FavouritesSaveOutcome {
    std::vector<std::size_t> notSaved;     // entries of the new list that were refused
    std::vector<std::wstring> notRemoved;  // names of old entries still stored
    registry::Status firstError;
    bool Ok() const { return notSaved.empty() && notRemoved.empty(); }
};
FavouritesSaveOutcome SaveFavourites(registry::Backend& backend, const std::vector<Favourite>& entries);

}  // namespace launcher
