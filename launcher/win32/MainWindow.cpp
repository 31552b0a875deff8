#include "MainWindow.h"

#include <iterator>

#include "../../version/Version.h"
#include "Error.h"
#include "Process.h"
#include "Registry.h"
#include "SettingsDialog.h"
#include "Win32Elevation.h"
#include "Win32FolderProbe.h"
#include "resource.h"

namespace launcher {

namespace {

constexpr wchar_t kClassName[] = L"Tolvane.MainWindow";
constexpr UINT_PTR kActionTimer = 1;
constexpr int kClientWidth = 3180;
constexpr int kClientHeight = 2400;

enum ControlId {
    kAboutFrame = 1001,
    kCreditLabel,
    kMakerLabel,
    kContactLabel,
    kWebLabel,
    kVersionLabel,
    kDateLabel,
    kOkButton = IDOK,
};

constexpr int kInAboutFrame = 0;

using winkit::ControlKind;
using winkit::kInWindow;
const winkit::ControlSpec kAboutControls[] = {
    // kind, id, caption, container, left, top, width, height, tab index
    {ControlKind::Frame, kAboutFrame, L"About Tolvane", kInWindow, 50, 0, 3080, 1890, 0},
    {ControlKind::Label, kCreditLabel, L"Written by:", kInAboutFrame, 120, 240, 975, 255, 1},
    {ControlKind::Label, kMakerLabel, L"Varnholt", kInAboutFrame, 120, 520, 1455, 255, 2},
    {ControlKind::Label, kContactLabel, L"hi@example.com (Subject: Tolvane)", kInAboutFrame, 120, 765, 2895, 255, 5},
    {ControlKind::Label, kWebLabel, L"www.example.com/tolvane", kInAboutFrame, 120, 960, 2415, 255, 6},
    {ControlKind::Label, kVersionLabel, TOLVANE_WIDEN(TOLVANE_ABOUT_VERSION), kInAboutFrame, 120, 1320, 2055, 255, 3},
    {ControlKind::Label, kDateLabel, TOLVANE_WIDEN(TOLVANE_ABOUT_DATE), kInAboutFrame, 120, 1560, 1695, 255, 4},
    {ControlKind::Button, kOkButton, L"OK", kInWindow, 1080, 1950, 1095, 375, 7},
};

}  // namespace

MainWindow& MainWindow::Instance() {
    static MainWindow window;
    return window;
}

bool MainWindow::Open() {
    if (!CreateTopLevel({kClassName, IDI_TOLVANE, kLauncherCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                         WS_EX_DLGMODALFRAME}))
        return false;
    m_menu.Reset(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAYMENU)));
    m_taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    m_tray.Add(m_hwnd, kTrayCallbackMessage);
    m_exePath = LauncherPath(winkit::ProgramFolder());
    SetAutostartMark(ReadAutostart(registry::SystemBackend()));
    UseStoredHotkey();
    // The timer starts enabled; its first tick finds nothing to do.
    SetTimer(m_hwnd, kActionTimer, kTimerIntervalMs, nullptr);
    return true;
}

void MainWindow::OnFailure() { winkit::ShowInformation(nullptr, kUnexpectedFailure, kLauncherCaption); }

void MainWindow::OnCreate() { winkit::SizeAndCentre(m_hwnd, kClientWidth, kClientHeight); }

void MainWindow::UseStoredHotkey() {
    // Unreadable text counts as no hotkey; the Settings dialog says so.
    const auto hotkey = ParseHotkey(ReadSettings(registry::SystemBackend()).hotkey);
    if (!hotkey || hotkey->IsNone()) return;
    // At logon nobody is waiting for a message box: a balloon says it once.
    if (!m_hotkey.Set(m_hwnd, *hotkey).Ok()) m_tray.ShowBalloon(kLauncherCaption, HotkeyTakenText(*hotkey));
}

winkit::Win32Result MainWindow::UseHotkey(const Hotkey& hotkey) {
    // After Exit the dialog may still be open; nothing listens for a hotkey then.
    if (!IsOpen()) return {};
    return m_hotkey.Set(m_hwnd, hotkey);
}

void MainWindow::OnDestroy() {
    m_hotkey.Clear();
    KillTimer(m_hwnd, kActionTimer);
    m_tray.Remove();
}

bool MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    if (m_taskbarCreated != 0 && message == m_taskbarCreated) {
        // Explorer restarted: its new taskbar knows no icons.
        m_tray.Add(m_hwnd, kTrayCallbackMessage);
        return true;
    }
    switch (message) {
    case kTrayCallbackMessage:
        OnTrayNotification(wParam, lParam);
        return true;
    case WM_TIMER:
        if (wParam == kActionTimer) OnTimer();
        return true;
    case WM_HOTKEY:
    case kWindowsKeyMessage:
        // As a left click does: after the timer tick, replacing what is pending.
        Defer(kActionExplorer);
        return true;
    default:
        return false;
    }
}

void MainWindow::OnDpiChanged(UINT) { m_tray.Reload(); }

void MainWindow::OnTrayNotification(WPARAM wParam, LPARAM lParam) {
    const TrayEvent event = m_notifications.Classify(m_tray.Version4(), static_cast<std::uintptr_t>(lParam));
    switch (event.gesture) {
    case TrayGesture::OpenExplorer:
        // Enter may come twice for one key press; the deferral makes it one start.
        Defer(kActionExplorer);
        break;
    case TrayGesture::ShowMenu: {
        // The keyboard gives the icon's position; the mouse is where the user clicked.
        POINT at{};
        if (event.fromKeyboard)
            at = {static_cast<short>(LOWORD(wParam)), static_cast<short>(HIWORD(wParam))};
        else
            GetCursorPos(&at);
        ShowTrayMenu(at, event.fromKeyboard);
        break;
    }
    case TrayGesture::None:
        break;
    }
}

void MainWindow::ShowTrayMenu(POINT at, bool fromKeyboard) {
    HMENU popup = GetSubMenu(m_menu.Get(), 0);
    if (popup == nullptr) return;
    // Someone else (Setup, another launcher) may have changed the entry since.
    SetAutostartMark(ReadAutostart(registry::SystemBackend()));
    SetMenuDefaultItem(popup, IDM_EXPLORER, FALSE);
    // Without the foreground window the menu would not close when the user
    // clicks elsewhere (the long-standing tray menu quirk), and without the
    // message posted after it a second right click could open nothing.
    SetForegroundWindow(m_hwnd);
    const int command = static_cast<int>(
        TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, m_hwnd, nullptr));
    PostMessageW(m_hwnd, WM_NULL, 0, 0);
    if (command != 0)
        OnCommand(command, 0, nullptr);
    else if (fromKeyboard)
        m_tray.ReturnFocus();
}

void MainWindow::OnCommand(int id, int code, HWND control) {
    if (id == kOkButton && code == BN_CLICKED) {
        ShowWindow(m_hwnd, SW_HIDE);
        return;
    }
    // Every menu command runs after the menu has closed.
    if (control == nullptr) {
        if (const auto action = ActionForCommand(id)) Defer(*action);
    }
}

void MainWindow::Defer(ActionCode action) {
    m_actions.Trigger(action);
    SetTimer(m_hwnd, kActionTimer, kTimerIntervalMs, nullptr);
}

void MainWindow::OnTimer() {
    KillTimer(m_hwnd, kActionTimer);
    RunAction(static_cast<ActionCode>(m_actions.Tick()));
}

void MainWindow::RunAction(ActionCode action) {
    switch (action) {
    case kActionAutostart:
        SwitchAutostart();
        break;
    case kActionAbout:
        ShowAbout();
        break;
    case kActionSettings:
        SettingsDialog::Instance().Show();
        break;
    case kActionExit:
        Destroy();
        break;
    case kActionExplorer:
        OpenExplorer();
        break;
    default:
        break;
    }
}

void MainWindow::SetAutostartMark(bool checked) {
    m_autostartChecked = checked;
    CheckMenuItem(m_menu.Get(), IDM_AUTOSTART, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MainWindow::SwitchAutostart() {
    // The question and the wait for the elevated copy keep messages flowing:
    // a second switch chosen meanwhile would act on a state about to change.
    if (m_switchingAutostart) return;
    m_switchingAutostart = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_switchingAutostart};
    const bool wasChecked = m_autostartChecked;
    Win32Elevation elevation(m_hwnd);
    const AutostartOutcome outcome = ToggleAutostart(registry::SystemBackend(), elevation, wasChecked, m_exePath);
    SetAutostartMark(outcome.checked);
    if (!outcome.status.Ok()) {
        winkit::ShowInformation(
            nullptr, AutostartFailureText(wasChecked, outcome, winkit::SystemMessage(outcome.status.code)),
            kLauncherCaption);
    }
}

void MainWindow::OpenExplorer() {
    Win32FolderProbe probe;
    const ExplorerLaunch launch = PlanExplorerLaunch(registry::SystemBackend(), probe);
    if (launch.folderMissing) {
        // The Explorer would open some other folder without a word.
        winkit::ShowInformation(nullptr, MissingFolderText(launch.folder), kLauncherCaption);
        return;
    }
    const winkit::Win32Result started =
        winkit::StartProgram(winkit::WindowsFolder() + L"\\explorer.exe", launch.commandLine, launch.showState);
    if (!started.Ok()) winkit::ShowInformation(nullptr, winkit::Describe(started), kLauncherCaption);
}

void MainWindow::ShowAbout() {
    // The controls and their font are made when the About box is first shown:
    // a font wakes the whole font system, megabytes a resident tray program
    // would otherwise carry for nothing.
    if (!m_controls.Created()) m_controls.Create(m_hwnd, kAboutControls, std::size(kAboutControls));
    ShowWindow(m_hwnd, SW_SHOW);
    SetForegroundWindow(m_hwnd);
}

}  // namespace launcher
