#pragma once
// The launcher's main window as others find it and what they post it: a second
// start and Setup's Uninstall look for its class; the messages are private,
// above WM_APP (WM_USER + 1 would be DM_SETDEFID to a dialog manager).

namespace launcher {

inline constexpr wchar_t kMainWindowClass[] = L"Tolvane.MainWindow";

inline constexpr unsigned kFirstPrivateMessage = 0x8000;  // WM_APP
// The tray icon's notifications.
inline constexpr unsigned kTrayCallbackMessage = kFirstPrivateMessage + 1;
// The Win+E keyboard hook's.
inline constexpr unsigned kWindowsKeyMessage = kFirstPrivateMessage + 2;
// What a second start of the launcher posts the running one before it ends.
inline constexpr unsigned kAlreadyRunningMessage = kFirstPrivateMessage + 3;

}  // namespace launcher
