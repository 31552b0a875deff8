#include "WindowSizing.h"

#include "Sizing.h"

namespace winkit {

void ControlSet::Follow(PixelSize growth, UINT dpi) {
    if (!Created()) return;
    for (std::size_t index = 0; index < m_count; ++index) {
        if (m_table[index].follow == 0 || m_windows[index] == nullptr) continue;
        const PixelRect rect = FollowingRect(m_table, m_count, index, static_cast<int>(dpi), growth);
        SetWindowPos(m_windows[index], nullptr, rect.left, rect.top, rect.width, rect.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

bool FollowWindowSize(HWND hwnd, ControlSet& controls, PixelSize designTwips, UINT message, WPARAM wParam,
                      LPARAM lParam) {
    if (message == WM_GETMINMAXINFO) {
        // The frame as it is around the client area, and the table's size inside it.
        RECT outer{}, client{};
        GetWindowRect(hwnd, &outer);
        GetClientRect(hwnd, &client);
        const int dpi = static_cast<int>(WindowDpi(hwnd));
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {
            outer.right - outer.left - client.right + TwipsToPixels(designTwips.width, dpi),
            outer.bottom - outer.top - client.bottom + TwipsToPixels(designTwips.height, dpi)};
        return true;
    }
    if (message != WM_SIZE || wParam == SIZE_MINIMIZED) return false;
    const UINT dpi = WindowDpi(hwnd);
    controls.Follow(Growth({LOWORD(lParam), HIWORD(lParam)}, designTwips, static_cast<int>(dpi)), dpi);
    // Controls moved over the old places of others leave their old pictures behind.
    InvalidateRect(hwnd, nullptr, TRUE);
    return true;
}

}  // namespace winkit
