#include "SetupWindow.h"

#include <iterator>

#include "DesktopShell.h"
#include "Error.h"
#include "Install.h"
#include "Unattended.h"
#include "Process.h"
#include "Registry.h"
#include "Win32Files.h"
#include "resource.h"

namespace setup {

namespace {

constexpr wchar_t kClassName[] = L"Tolvane.SetupWindow";
constexpr int kClientWidth = 2250;
constexpr int kClientHeight = 4185;

// Not IDOK or IDCANCEL: the window has no default and no cancel button, so
// Enter and Escape (which IsDialogMessage turns into those ids) do nothing.
enum ControlId {
    kWelcomeLabel = 1001,
    kInstallFrame,
    kUninstallFrame,
    kInstallButton,
    kUninstallLabel,
    kUninstallButton,
    kExitButton,
    kAutostartCheck,
    kFolderEdit,
    kFolderLabel,
};

// Container indices: rows of the frames in the table below.
constexpr int kInInstallFrame = 1;
constexpr int kInUninstallFrame = 2;

using winkit::ControlKind;
using winkit::kInWindow;
const winkit::ControlSpec kControls[] = {
    // kind, id, caption, container, left, top, width, height, tab index
    {ControlKind::Label, kWelcomeLabel,
     L"Welcome to the installation of Tolvane. Please follow the easy (un)installation-steps.", kInWindow, 45, 45,
     2130, 615, 0},
    {ControlKind::Frame, kInstallFrame, L"Installation", kInWindow, 0, 720, 2250, 1560, 1},
    {ControlKind::Frame, kUninstallFrame, L"Uninstallation", kInWindow, 0, 2400, 2250, 1215, 2},
    {ControlKind::Button, kInstallButton, L"Install", kInInstallFrame, 240, 1080, 1695, 375, 3},
    {ControlKind::Label, kUninstallLabel, L"Click the button below if you want to uninstall Tolvane.",
     kInUninstallFrame, 120, 240, 2055, 375, 4},
    {ControlKind::Button, kUninstallButton, L"Uninstall", kInUninstallFrame, 240, 720, 1695, 375, 5},
    {ControlKind::Button, kExitButton, L"Exit", kInWindow, 405, 3720, 1335, 375, 6},
    {ControlKind::CheckBox, kAutostartCheck, L"Make it run automatically", kInInstallFrame, 120, 240, 2055, 255, 7},
    {ControlKind::TextBox, kFolderEdit, kInitialFolderText, kInInstallFrame, 120, 720, 2055, 285, 8},
    {ControlKind::Label, kFolderLabel, L"Folder where it's installed to:", kInInstallFrame, 120, 480, 2055, 255, 9},
};

std::wstring Reason(long error) { return winkit::SystemMessage(error); }

}  // namespace

SetupWindow& SetupWindow::Instance() {
    static SetupWindow window;
    return window;
}

bool SetupWindow::Open(const Switches& switches, Log& log) {
    if (!CreateTopLevel({kClassName, IDI_SETUP, kTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                         WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT}))
        return false;
    m_log = &log;
    if (switches.folder) SetWindowTextW(m_controls.Get(kFolderEdit), switches.folder->c_str());
    if (switches.autostart) SendMessageW(m_controls.Get(kAutostartCheck), BM_SETCHECK, BST_CHECKED, 0);
    winkit::SizeAndCentre(m_hwnd, kClientWidth, kClientHeight);
    SetFocusTo(m_controls.Get(kFolderEdit));
    ShowWindow(m_hwnd, SW_SHOW);
    UpdateWindow(m_hwnd);
    return true;
}

// Only memory can run out in a handler; the window stays usable.
void SetupWindow::OnFailure() {
    winkit::ShowInformation(m_hwnd, L"Setup ran out of memory. Please close other programs and try again.", kTitle);
}

void SetupWindow::OnCreate() { m_controls.Create(m_hwnd, kControls, std::size(kControls)); }

void SetupWindow::OnCommand(int id, int code, HWND control) {
    if (code != BN_CLICKED || control == nullptr) return;
    switch (id) {
    case kInstallButton:
        OnInstall();
        break;
    case kUninstallButton:
        OnUninstall();
        break;
    case kExitButton:
        Destroy();
        break;
    default:
        break;
    }
}

void SetupWindow::Say(const std::wstring& text, const wchar_t* title) {
    winkit::ShowInformation(m_hwnd, text, title);
}

void SetupWindow::OnInstall() {
    if (Install()) Destroy();
}

bool SetupWindow::Install() {
    HWND folderEdit = m_controls.Get(kFolderEdit);
    const std::wstring typed = winkit::WindowText(folderEdit);
    Win32Files files;
    const std::wstring fullPath = files.FullPath(typed);
    if (auto refusal = RefuseFolderText(typed, fullPath, files.KindOfDrive(fullPath))) {
        Say(*refusal, kNotFinishedTitle);
        SetFocusTo(folderEdit);
        return false;
    }
    const bool autostart = SendMessageW(m_controls.Get(kAutostartCheck), BM_GETCHECK, 0, 0) == BST_CHECKED;
    InstallPlan plan = MakeInstallPlan(fullPath, winkit::ProgramFolder(), autostart);
    if (NeedsProtection(plan, files)) {
        if (!winkit::AskYesNo(m_hwnd, ProtectQuestion(plan), kProtectTitle)) {
            SetFocusTo(folderEdit);
            return false;
        }
        plan.protectExisting = true;
    }

    const InstallReport report = RunInstall(plan, files, registry::SystemBackend());
    StepLog log(*m_log);
    log.Line(L"Install to " + typed);
    for (const std::wstring& line : InstallLog(plan, report)) log.Line(line);
    log.Line(report.Complete() ? L"Result: 0 installed" : L"Result: 1603 not installed");
    if (!log.Failure().Ok()) Say(LogWriteFailureText(log.Failure(), Reason), kTitle);
    if (!report.Complete()) {
        Say(FailureText(plan, report, Reason), kNotFinishedTitle);
        SetFocusTo(folderEdit);
        return false;
    }

    // Started in its own folder: a resident program keeps its current folder
    // in use, and ours is typically the download folder.
    DesktopShell desktop;
    const winkit::Win32Result started =
        FinishInstall(plan, desktop, [this](const std::wstring& text) { Say(text, kFinishedTitle); });
    if (!started.Ok()) {
        Say(StartFailureText(LauncherStart(plan), started.code, Reason), kNotStartedTitle);
        return false;
    }
    return true;
}

void SetupWindow::OnUninstall() {
    const UninstallReport report = RunUninstall(registry::SystemBackend());
    if (report.Complete())
        Say(kUninstalledText, kUninstalledTitle);
    else
        Say(UninstallFailureText(report, Reason), kUninstallNotFinishedTitle);
}

}  // namespace setup
