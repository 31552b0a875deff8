#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "Favourites.h"
#include "HelpKey.h"
#include "HotkeyBox.h"
#include "Window.h"

namespace launcher {

// "Favourite folder": one favourite's name, folder, window mode and hotkey,
// modal to the favourites' list.
class FavouriteDialog final : public winkit::Window {
public:
    static FavouriteDialog& Instance();
    // The favourite as OK checked it.
    using Done = std::function<void(const Favourite&)>;
    // Shows `favourite`, the one at `index` of `list` (list.size() for a new
    // one); OK checks it against the others and hands it to `done`.
    void Show(HWND owner, const std::vector<Favourite>& list, std::size_t index, const Favourite& favourite,
              Done done);

private:
    FavouriteDialog() = default;

    void OnCreate() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnFailure() override;
    bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override { return AnswerHelp(m_hwnd, message, result); }

    void OnOk();
    // Beside the box: why its combination is not taken, if it is not.
    void UpdateHotkeyNote();
    void OnBrowse();

    std::vector<Favourite> m_list;
    std::size_t m_index = 0;
    Favourite m_favourite;
    Done m_done;
    HotkeyBox m_box;
};

}  // namespace launcher
