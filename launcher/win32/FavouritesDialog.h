#pragma once
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "Favourites.h"
#include "Window.h"

namespace launcher {

// "Favourite folders": the list, edited as a whole and taken into use (menu
// and hotkeys) when OK has stored it; modal to the Settings dialog.
class FavouritesDialog final : public winkit::Window {
public:
    static FavouritesDialog& Instance();
    static constexpr std::size_t kColumnCount = 4;  // name, folder, window, hotkey
    // Opens the dialog with the stored list, or brings the open one to the
    // front. A new favourite starts in the main folder's window mode, as
    // Settings shows it.
    void Show(HWND owner, const std::wstring& mainMode);

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
    // Each column as wide as its texts, as far as the list has room.
    void FitColumns();
    // The row's cells the list cuts, whole, a line each.
    std::wstring CutCells(std::size_t row) const;
    // The tip that shows them for the row under the mouse.
    void AddCellTip();
    static LRESULT CALLBACK ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR data);
    void OnListMouseMove(POINT at);
    void OpenEntry(std::size_t index);
    void Remove(bool ask);
    void Move(bool up);
    void OnOk();

    FavouriteList m_stored;       // as the dialog opened
    std::vector<Favourite> m_entries;
    std::vector<bool> m_refused;  // another program held the combination when it was taken
    std::vector<std::wstring> m_cells;  // as the list shows them, row by row, kColumnCount a row
    std::wstring m_mainMode;
    HWND m_tip = nullptr;  // owned by the dialog, which destroys it
    int m_tipRow = -1;
};

}  // namespace launcher
