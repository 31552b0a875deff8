#pragma once
#include <windows.h>

#include <vector>

#include "Error.h"
#include "Hotkey.h"

namespace launcher {

// The favourites' combinations, each registered with RegisterHotKey on the
// main window under its favourite's id (FavouriteHotkeyId), so that WM_HOTKEY
// names the favourite.
class FavouriteHotkeys {
public:
    FavouriteHotkeys() = default;
    FavouriteHotkeys(const FavouriteHotkeys&) = delete;
    FavouriteHotkeys& operator=(const FavouriteHotkeys&) = delete;
    ~FavouriteHotkeys() { Clear(); }

    // One combination a favourite, none for nothing. An unchanged one stays
    // taken; a changed one is let go before the new ones are taken, since a
    // combination may have moved to another favourite. The result for each
    // favourite: taken, or why not.
    std::vector<winkit::Win32Result> Set(HWND owner, const std::vector<Hotkey>& combinations);
    void Clear();
    // What is taken, a combination a favourite (none where nothing is).
    const std::vector<Hotkey>& Taken() const { return m_taken; }

private:
    HWND m_owner = nullptr;
    std::vector<Hotkey> m_taken;
};

}  // namespace launcher
