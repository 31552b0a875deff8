#include "MainForm.h"

#include <iterator>
#include <utility>

#include "../version/Version.h"
#include "Error.h"
#include "Forms.h"
#include "Process.h"
#include "Registry.h"
#include "SettingsForm.h"
#include "SysTray.h"
#include "resource.h"

namespace launcher {

namespace {

constexpr wchar_t kClassName[] = L"Tolvane.Form1";
constexpr wchar_t kCaption[] = L"Tolvane";
constexpr UINT_PTR kTimer1 = 1;
constexpr int kClientWidth = 3180;
constexpr int kClientHeight = 2400;

enum ControlId { kFrameAbout = 1001, kInfo0 = 1010, kInfo1, kInfo2, kInfo3, kInfo4, kInfo5, kCmdOK = IDOK };

using winkit::ControlKind;
const winkit::ControlSpec kAboutControls[] = {
    // kind, name, id, caption, container, left, top, width, height, tab index
    {ControlKind::Frame, L"frmRahmen(0)", kFrameAbout, L"About Tolvane", -1, 50, 0, 3080, 1890, 0},
    {ControlKind::Label, L"lblInfos(0)", kInfo0, L"Written by:", 0, 120, 240, 975, 255, 1},
    {ControlKind::Label, L"lblInfos(1)", kInfo1, L"Varnholt", 0, 120, 520, 1455, 255, 2},
    {ControlKind::Label, L"lblInfos(2)", kInfo2, L"hi@example.com (Subject: Tolvane)", 0, 120, 765, 2895, 255, 5},
    {ControlKind::Label, L"lblInfos(3)", kInfo3, L"www.example.com/tolvane", 0, 120, 960, 2415, 255, 6},
    {ControlKind::Label, L"lblInfos(4)", kInfo4, TOLVANE_WIDEN(TOLVANE_ABOUT_VERSION), 0, 120, 1320, 2055, 255, 3},
    {ControlKind::Label, L"lblInfos(5)", kInfo5, TOLVANE_WIDEN(TOLVANE_ABOUT_DATE), 0, 120, 1560, 1695, 255, 4},
    {ControlKind::Button, L"cmdOK", kCmdOK, L"OK", -1, 1080, 1950, 1095, 375, 7},
};

Form1* g_form1 = nullptr;

}  // namespace

Form1& Form1::Instance() {
    static Form1 form;
    g_form1 = &form;
    return form;
}

Form1* Form1::Existing() {
    return g_form1 != nullptr && g_form1->m_hwnd != nullptr ? g_form1 : nullptr;
}

bool Form1::Load() {
    m_icons = winkit::LoadIconPair(ProgramInstance(), IDI_TOLVANE);
    if (!winkit::RegisterFormClass(ProgramInstance(), kClassName, &winkit::RoutedWindowProc<Form1>, m_icons))
        return false;
    // Hidden until About is chosen; it is a normal top-level window (not a
    // message-only one) so that the TaskbarCreated broadcast reaches it.
    CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, kCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                    CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr, nullptr, ProgramInstance(), this);
    if (m_hwnd == nullptr) return false;
    m_menu.Reset(LoadMenuW(ProgramInstance(), MAKEINTRESOURCEW(IDR_TRAYMENU)));
    Form_Load();
    EnableTimer();
    return true;
}

void Form1::ReportFailure() { ShowFailure(kUnexpectedFailure); }

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_taskbarCreated != 0 && message == m_taskbarCreated) {
        // Explorer restarted: its new taskbar knows no icons.
        AddTrayIcon(*this);
        return 0;
    }
    switch (message) {
    case WM_CREATE:
        FormLoaded();
        winkit::SizeAndCentre(m_hwnd, kClientWidth, kClientHeight);
        return 0;
    case WM_TIMER:
        if (wParam == kTimer1) Timer1_Timer();
        return 0;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id == kCmdOK && HIWORD(wParam) == BN_CLICKED) {
            cmdOK_Click();
        } else if (lParam == 0 && id >= IDM_FIRST && id <= IDM_EXPLORER) {
            mnusystemtrayunter_Click(static_cast<std::int16_t>(id - IDM_FIRST));
        }
        return 0;
    }
    case WM_DPICHANGED:
        winkit::ApplyDpiChange(m_hwnd, m_controls, wParam, lParam);
        return 0;
    case WM_CLOSE:
        DestroyWindow(m_hwnd);
        return 0;
    case WM_DESTROY:
        Form_Unload();
        return 0;
    case WM_NCDESTROY: {
        HWND hwnd = std::exchange(m_hwnd, nullptr);
        m_unloaded = true;
        FormUnloaded();
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    default:
        return DefWindowProcW(m_hwnd, message, wParam, lParam);
    }
}

void Form1::Form_Load() {
    m_actions = PendingActions{};
    m_taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    // An elevated launcher (started by Setup) would otherwise never hear from
    // the shell, which runs at a lower integrity level.
    ChangeWindowMessageFilterEx(m_hwnd, m_taskbarCreated, MSGFLT_ALLOW, nullptr);
    ChangeWindowMessageFilterEx(m_hwnd, kTrayCallbackMessage, MSGFLT_ALLOW, nullptr);
    InitTray(*this);
    // Centring happened when the window was created and sized.
    m_exePath = LauncherPath(winkit::ProgramFolder());
    SetAutostartMark(ReadAutostart(registry::SystemBackend()));
}

void Form1::Form_Unload() {
    KillTimer(m_hwnd, kTimer1);
    RemoveTrayIcon(*this);
}

void Form1::ProcMsg(HWND hWnd, UINT uMsg, WPARAM, LPARAM lParam) {
    switch (ClassifyTrayNotification(uMsg, lParam)) {
    case TrayResponse::DeferExplorer:
        m_actions.Trigger(kActionExplorer);
        EnableTimer();
        break;
    case TrayResponse::ShowMenu:
        ShowTrayMenu(hWnd);
        break;
    case TrayResponse::Ignore:
        break;
    }
}

void Form1::ShowTrayMenu(HWND hWnd) {
    HMENU popup = GetSubMenu(m_menu.Get(), 0);
    if (popup == nullptr) return;
    // Someone else (Setup, another launcher) may have changed the entry since.
    SetAutostartMark(ReadAutostart(registry::SystemBackend()));
    SetMenuDefaultItem(popup, IDM_EXPLORER, FALSE);
    // Without the foreground window the menu would not close when the user
    // clicks elsewhere (the long-standing tray menu quirk).
    SetForegroundWindow(hWnd);
    POINT cursor{};
    GetCursorPos(&cursor);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, hWnd, nullptr);
    PostMessageW(hWnd, WM_USER, 0, 0);
}

void Form1::mnusystemtrayunter_Click(std::int16_t index) {
    m_actions.Trigger(index);
    EnableTimer();
}

void Form1::EnableTimer() {
    SetTimer(m_hwnd, kTimer1, kTimerIntervalMs, nullptr);
}

void Form1::Timer1_Timer() {
    KillTimer(m_hwnd, kTimer1);
    const std::int16_t action = m_actions.Tick();
    if (action == kActionExit) {
        DestroyWindow(m_hwnd);
        return;
    }
    RunPendingAction();
}

void Form1::RunPendingAction() {
    switch (m_actions.Pending()) {
    case kActionAutostart:
        SwitchAutostart();
        break;
    case kActionAbout:
        ShowAbout();
        break;
    case kActionSettings:
        Form2::Instance().Show();
        break;
    case kActionExplorer:
        StartExplorer();
        break;
    default:
        break;
    }
}

void Form1::SetAutostartMark(bool checked) {
    m_autostartChecked = checked;
    CheckMenuItem(m_menu.Get(), IDM_AUTOSTART, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void Form1::SwitchAutostart() {
    const bool wasChecked = m_autostartChecked;
    const AutostartOutcome outcome = ToggleAutostart(registry::SystemBackend(), wasChecked, m_exePath);
    SetAutostartMark(outcome.checked);
    if (!outcome.status.Ok()) {
        winkit::ShowInformation(
            nullptr,
            AutostartFailureText(wasChecked, outcome.status.error,
                                 winkit::SystemMessage(static_cast<DWORD>(outcome.status.error))),
            kCaption);
    }
}

void Form1::StartExplorer() {
    const ExplorerLaunch launch = PlanExplorerLaunch(registry::SystemBackend());
    if (auto error = winkit::StartProgram(winkit::WindowsFolder() + L"\\explorer.exe", launch.commandLine,
                                          launch.showState)) {
        winkit::ShowInformation(nullptr, error->Describe(), kCaption);
    }
}

void Form1::ShowAbout() {
    // The controls and their font are made when the About box is first shown:
    // a font wakes the whole font system, megabytes a resident tray program
    // would otherwise carry for nothing.
    if (!m_controls.Created()) m_controls.Create(m_hwnd, kAboutControls, std::size(kAboutControls));
    ShowWindow(m_hwnd, SW_SHOW);
    SetForegroundWindow(m_hwnd);
}

void Form1::cmdOK_Click() {
    ShowWindow(m_hwnd, SW_HIDE);
}

}  // namespace launcher
