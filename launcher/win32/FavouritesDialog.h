#pragma once
#include <windows.h>

#include <optional>
#include <vector>

#include "Favourites.h"
#include "Window.h"

namespace launcher {

// "Favourite folders": the list, edited as a whole and taken into use (menu
// and hotkeys) when OK has stored it; modal to the Settings dialog.
class FavouritesDialog final : public winkit::Window {
public:
    static FavouritesDialog& Instance();
    // Opens the dialog with the stored list, or brings the open one to the front.
    void Show(HWND owner);

private:
    FavouritesDialog() = default;

    void OnCreate() override;
    void OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnDpiChanged(UINT dpi) override;
    void OnFailure() override;

    HWND List() const;
    std::optional<std::size_t> Selected() const;
    void ShowEntries(std::optional<std::size_t> select);
    void UpdateButtons();
    void OpenEntry(std::size_t index);
    void Remove(bool ask);
    void Move(bool up);
    void OnOk();

    FavouriteList m_stored;       // as the dialog opened
    std::vector<Favourite> m_entries;
    std::vector<bool> m_refused;  // another program held the combination when it was taken
};

}  // namespace launcher
