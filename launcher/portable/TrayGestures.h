#pragma once
// The notification-area icon's identity and what its notifications mean.
#include <cstdint>

namespace launcher {

// The tray icon: id and tip (its message is kTrayCallbackMessage, LauncherWindow.h).
inline constexpr unsigned kTrayIconId = 125;
inline constexpr wchar_t kTrayTip[] = L"Tolvane";

// Notifications in the low word of the callback's lParam (the Win32 values).
inline constexpr unsigned kTrayLeftButtonUp = 0x0202;
inline constexpr unsigned kTrayRightButtonUp = 0x0205;
inline constexpr unsigned kTrayContextMenu = 0x007B;
inline constexpr unsigned kTraySelect = 0x0400;
inline constexpr unsigned kTrayKeySelect = 0x0401;
inline constexpr unsigned kTrayBalloonHide = 0x0403;
inline constexpr unsigned kTrayBalloonTimeout = 0x0404;
inline constexpr unsigned kTrayBalloonClick = 0x0405;

// BalloonClicked: the balloon beside the icon was clicked; BalloonGone: it
// closed without that.
enum class TrayGesture { None, OpenExplorer, ShowMenu, BalloonClicked, BalloonGone };
struct TrayEvent {
    TrayGesture gesture = TrayGesture::None;
    bool fromKeyboard = false;
};

// What the icon's notifications mean. A version-4 icon reports a mouse click
// as the button messages followed by NIN_SELECT or WM_CONTEXTMENU, and the
// keyboard as NIN_KEYSELECT or WM_CONTEXTMENU alone; only those act, so each
// gesture acts once. Older shells send the button messages only; their
// balloon notifications are the same.
class TrayNotifications {
public:
    TrayEvent Classify(bool version4, std::uintptr_t lParam);

private:
    bool m_rightButtonUp = false;  // the WM_CONTEXTMENU that follows comes from the mouse
};

}  // namespace launcher
