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

// A form's icon at the two sizes the system shows.
struct IconPair {
    UniqueIcon big;
    UniqueIcon small;
};
IconPair LoadIconPair(HINSTANCE instance, int resourceId);

// A window class with the dialog background, the arrow cursor and the icons.
bool RegisterFormClass(HINSTANCE instance, const wchar_t* className, WNDPROC windowProc, const IconPair& icons);

// Follows WM_DPICHANGED: controls and font at the new DPI, and the window
// rectangle Windows suggests for it.
void ApplyDpiChange(HWND hwnd, ControlSet& controls, WPARAM wParam, LPARAM lParam);

// The window procedure of a form class Owner. The owner comes in through
// CreateWindowExW's last argument and is kept in GWLP_USERDATA; it provides
// AttachWindow(HWND), HandleMessage(UINT, WPARAM, LPARAM) and ReportFailure().
// Nothing a handler throws leaves the procedure (it would cross system code).
template <typename Owner>
LRESULT CALLBACK RoutedWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        owner->AttachWindow(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    if (owner == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    try {
        return owner->HandleMessage(message, wParam, lParam);
    } catch (...) {
        owner->ReportFailure();
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace winkit
