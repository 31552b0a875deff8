#pragma once
// Window services both programs share: DPI, twips geometry, the dialog font and
// the controls of a window built from its table.
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "Handles.h"
#include "Layout.h"

namespace winkit {

// The DPI a window is shown at (per monitor where the system knows it).
UINT WindowDpi(HWND hwnd);

// The layouts were made for the 8-point dialog font; other sizes clip captions.
UniqueFont CreateDialogFont(UINT dpi);

// Outer window size for a client area given in twips at the window's DPI.
SIZE OuterSizeForClientTwips(HWND hwnd, int widthTwips, int heightTwips, UINT dpi);

// Sizes the window for its client area and centres it on the primary screen
// (not the work area), as the programs always have.
void SizeAndCentre(HWND hwnd, int clientWidthTwips, int clientHeightTwips);

// The controls of one window, created from its table in tab order.
class ControlSet {
public:
    void Create(HWND parent, const ControlSpec* table, std::size_t count);
    // Moves every control and sets a new font after a DPI change.
    void Relayout(UINT dpi);
    HWND Get(int id) const;
    bool Created() const { return m_table != nullptr; }
    HFONT Font() const { return m_font.Get(); }

private:
    HWND m_parent = nullptr;
    const ControlSpec* m_table = nullptr;
    std::size_t m_count = 0;
    std::vector<HWND> m_windows;
    UniqueFont m_font;
};

// Text of a control or window, any length.
std::wstring WindowText(HWND hwnd);

}  // namespace winkit
