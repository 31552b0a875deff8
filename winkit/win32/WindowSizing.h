#pragma once
// A resizable window built from its table: a file of its own, so that only a
// program with such a window carries it.
#include <windows.h>

#include "Controls.h"

namespace winkit {

// What the window does with WM_SIZE and WM_GETMINMAXINFO: its rows follow
// its size by their flags, and it is never smaller than the client area its
// table was made for. True when the message was one of them.
bool FollowWindowSize(HWND hwnd, ControlSet& controls, PixelSize designTwips, UINT message, WPARAM wParam,
                      LPARAM lParam);

}  // namespace winkit
