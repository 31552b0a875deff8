#pragma once
// DPI, twips geometry, the dialog font and the controls of a window built from
// its table.
#include <windows.h>

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "Handles.h"
#include "Layout.h"

namespace winkit {

// comctl32's control classes (ICC_* flags) exist only once comctl32 was
// initialised for them. Loaded here, when a window that needs one opens: as
// an import it would cost a resident program megabytes from its start.
bool RegisterCommonControls(DWORD classes);

// The DPI a window is shown at (per monitor where the system knows it).
UINT WindowDpi(HWND hwnd);

// The layouts were made for the 8-point dialog font; other sizes clip captions.
UniqueFont CreateDialogFont(UINT dpi);

// Sizes the window for its client area and centres it on the primary screen
// (not the work area), as the programs always have.
void SizeAndCentre(HWND hwnd, int clientWidthTwips, int clientHeightTwips);

// The controls of one window, created from its table in tab order.
class ControlSet {
public:
    void Create(HWND parent, const ControlSpec* table, std::size_t count, CaptionSource captions = nullptr);
    // Moves every control and gives it a font for the new DPI (a resizable
    // window's rows follow its size again at the WM_SIZE that comes next).
    void Relayout(UINT dpi);
    // Moves the rows that follow a resized window (ControlSpec::follow) by
    // the pixels its client area has beyond the table's size (WindowSizing.cpp).
    void Follow(PixelSize growth, UINT dpi);
    HWND Get(int id) const;
    bool Created() const { return m_table != nullptr; }
    // Ids of the buttons Enter and Esc press; 0 for none.
    int DefaultButton() const { return Created() ? winkit::DefaultButton(m_table, m_count) : 0; }
    int CancelButton() const { return Created() ? winkit::CancelButton(m_table, m_count) : 0; }
    bool IsOption(HWND control) const;
    // Whether a check box or an option is checked.
    bool Checked(int id) const { return SendMessageW(Get(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    // Which of N options with consecutive ids, from firstId, are checked.
    template <int N>
    std::array<bool, N> CheckedOptions(int firstId) const {
        std::array<bool, N> checked{};
        for (int index = 0; index < N; ++index) checked[static_cast<std::size_t>(index)] = Checked(firstId + index);
        return checked;
    }
    // Tab enters a group of option buttons at its selected option (the first
    // when none is selected), as in a dialog: only that one keeps the tab stop.
    void UpdateOptionTabStops();
    // Selects one option of its group and clears the others.
    void SelectOption(HWND option);

private:
    const ControlSpec* Row(HWND control) const;

    const ControlSpec* m_table = nullptr;
    std::size_t m_count = 0;
    std::vector<HWND> m_windows;
    UniqueFont m_font;
};

// Text of a control or window, any length.
std::wstring WindowText(HWND hwnd);

}  // namespace winkit
