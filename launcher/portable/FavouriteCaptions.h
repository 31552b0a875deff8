#pragma once
// A favourite as the menu, the list and messages show it.
#include <cstddef>
#include <string>
#include <vector>

#include "Favourites.h"
#include "Hotkey.h"

namespace launcher {

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

}  // namespace launcher
