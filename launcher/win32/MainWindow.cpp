#include "MainWindow.h"

#include "AboutBox.h"
#include "Autostart.h"
#include "Error.h"
#include "ExplorerLaunch.h"
#include "LauncherTexts.h"
#include "Process.h"
#include "Registry.h"
#include "Settings.h"
#include "SettingsDialog.h"
#include "Win32Elevation.h"
#include "Win32FolderProbe.h"
#include "resource.h"

#include <utility>

namespace launcher {

namespace {

constexpr wchar_t kClassName[] = L"Tolvane.MainWindow";
constexpr UINT_PTR kCommandTimer = 1;

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
    return true;
}

void MainWindow::OnFailure() { winkit::ShowInformation(nullptr, kUnexpectedFailure, kLauncherCaption); }

void MainWindow::UseStoredHotkey() {
    // Unreadable text counts as no hotkey; the Settings dialog says so.
    const auto hotkey = ParseHotkey(ReadSettings(registry::SystemBackend()).hotkey);
    if (!hotkey || hotkey->IsNone()) return;
    // At logon nobody is waiting for a message box: a balloon says it once.
    if (!m_hotkey.Set(m_hwnd, *hotkey).Ok()) ShowBalloon(HotkeyTakenText(*hotkey), false);
}

winkit::Win32Result MainWindow::UseHotkey(const Hotkey& hotkey) {
    // After Exit the dialog may still be open; nothing listens for a hotkey then.
    if (!IsOpen()) return {};
    return m_hotkey.Set(m_hwnd, hotkey);
}

void MainWindow::OnDestroy() {
    m_hotkey.Clear();
    KillTimer(m_hwnd, kCommandTimer);
    m_tray.Remove();
    // A hidden About box would keep the program alive; an open Settings dialog does, on purpose.
    AboutBox::Instance().Close();
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
        if (wParam == kCommandTimer) OnTimer();
        return true;
    case WM_HOTKEY:
    case kWindowsKeyMessage:
        Defer(CommandForHotkey());
        return true;
    case kAlreadyRunningMessage:
        ShowBalloon(L"Tolvane is already running: click here to open your folder", true);
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
        Defer(CommandForTrayClick());
        break;
    case TrayGesture::ShowMenu: {
        // The keyboard gives the icon's position; the mouse is where the user clicked.
        POINT at{};
        if (event.fromKeyboard)
            at = {static_cast<short>(LOWORD(wParam)), static_cast<short>(HIWORD(wParam))};
        else
            GetCursorPos(&at);
        if (const auto command = ShowTrayMenu(at, event.fromKeyboard)) Defer(*command);
        break;
    }
    case TrayGesture::BalloonClicked:
        if (std::exchange(m_balloonOpensFolder, false)) Defer(CommandForTrayClick());
        break;
    case TrayGesture::BalloonGone:
        m_balloonOpensFolder = false;
        break;
    case TrayGesture::None:
        break;
    }
}

std::optional<Command> MainWindow::ShowTrayMenu(POINT at, bool fromKeyboard) {
    HMENU popup = GetSubMenu(m_menu.Get(), 0);
    if (popup == nullptr) return std::nullopt;
    // Someone else (Setup, another launcher) may have changed the entry since.
    SetAutostartMark(ReadAutostart(registry::SystemBackend()));
    SetMenuDefaultItem(popup, IDM_EXPLORER, FALSE);
    // Without the foreground window the menu would not close when the user
    // clicks elsewhere (the long-standing tray menu quirk), and without the
    // message posted after it a second right click could open nothing.
    SetForegroundWindow(m_hwnd);
    const int chosen = static_cast<int>(
        TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, m_hwnd, nullptr));
    PostMessageW(m_hwnd, WM_NULL, 0, 0);
    if (chosen == 0 && fromKeyboard) m_tray.ReturnFocus();
    return CommandForMenuItem(chosen);
}

// Every command runs on the next tick, after the menu or the notification
// has returned; one chosen before the tick replaces the one waiting.
void MainWindow::Defer(Command command) {
    m_pending.Set(command);
    SetTimer(m_hwnd, kCommandTimer, kCommandDelayMs, nullptr);
}

void MainWindow::OnTimer() {
    KillTimer(m_hwnd, kCommandTimer);
    if (const auto command = m_pending.Take()) Run(*command);
}

void MainWindow::Run(Command command) {
    switch (command) {
    case Command::SwitchAutostart:
        SwitchAutostart();
        break;
    case Command::ShowAbout:
        AboutBox::Instance().Show();
        break;
    case Command::ShowSettings:
        SettingsDialog::Instance().Show();
        break;
    case Command::Exit:
        Destroy();
        break;
    case Command::OpenExplorer:
        OpenExplorer();
        break;
    }
}

void MainWindow::ShowBalloon(const std::wstring& text, bool opensFolder) {
    m_balloonOpensFolder = opensFolder;
    m_tray.ShowBalloon(kLauncherCaption, text, !opensFolder);
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
    const ExplorerLaunch launch = PlanExplorerLaunch(ReadLaunchSettings(registry::SystemBackend()), probe);
    if (launch.problem != FolderProblem::None) {
        winkit::ShowInformation(nullptr, FolderProblemText(launch), kLauncherCaption);
        return;
    }
    const winkit::Win32Result started =
        winkit::StartProgram(winkit::WindowsFolder() + L"\\explorer.exe", launch.commandLine, launch.showState);
    if (!started.Ok()) winkit::ShowInformation(nullptr, winkit::Describe(started), kLauncherCaption);
}

}  // namespace launcher
