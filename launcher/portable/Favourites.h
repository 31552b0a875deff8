#pragma once
// Favourite folders: a short list beside the main folder, each with a name,
// a folder, a window mode and a hotkey; the user's own, or a policy's.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "ExplorerLaunch.h"
#include "Hotkey.h"
#include "HotkeyRule.h"
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

// "&1 Name" to "&9 Name", "&0 Name", then the name alone: a "&" in the name
// shows as itself, a name past kMenuNameLength characters is cut with "…",
// and a favourite without a name shows its folder.
// The eleventh to twentieth start with `indent`, blanks as wide as the
// others' "1 ", so that all names start in one column; `keys`, the
// combination that opens it, stands after a tab, right-aligned as menus show
// shortcuts.
inline constexpr std::size_t kMenuNameLength = 60;
std::wstring FavouriteMenuCaption(std::size_t index, const Favourite& favourite, const std::wstring& indent = L"",
                                  const Hotkey& keys = {});
// A menu item's caption with the combination that does the same after a tab
// (none: without), in place of the one it had.
std::wstring MenuCaptionWithKeys(const std::wstring& caption, const Hotkey& keys);
// Blanks the menu's font has, with their widths in pixels.
struct Blank {
    wchar_t character;
    int width;
};
// The shortest run of blanks whose width comes nearest to `width`, the
// widest first: the indent of the unnumbered items.
std::wstring BlanksOfWidth(int width, const std::vector<Blank>& blanks);
// The name (or the folder) in at most `length` characters, the last a "…" when cut,
// as DisplayedText shows it.
std::wstring ShortName(const Favourite& favourite, std::size_t length);
// A text as the menu, the list and messages show it: without the characters
// that change the direction of what follows (U+202E and the like), control
// characters as blanks. What is stored stays as typed.
std::wstring DisplayedText(const std::wstring& text);

// What the dialog says of entries stored past the first kMaxFavourites.
std::wstring LeftOutText(std::size_t leftOut);

// The window mode a new favourite starts with: the main folder's (as the
// Settings dialog shows it), or, when that is no known mode, the normal
// window the main folder opens in then.
std::wstring NewFavouriteMode(const std::wstring& mainMode);

// The message when a favourite's folder cannot be opened: the favourite
// named, and where to mend it.
std::wstring FavouriteFolderProblemText(const ExplorerLaunch& launch, const Favourite& favourite, bool byPolicy);

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
// What was not saved or not removed, the system's reason, and where the
// changes are when the list was not saved.
std::wstring FavouritesSaveFailureText(const FavouritesSaveOutcome& outcome, const std::vector<Favourite>& entries,
                                       const std::wstring& systemMessage);

}  // namespace launcher
