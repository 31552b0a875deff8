#include "SetupWindow.h"

#include <iterator>

#include "DesktopLaunchers.h"
#include "Error.h"
#include "InstallTexts.h"
#include "Flow.h"
#include "MessageFront.h"
#include "Process.h"
#include "Registry.h"
#include "Win32Files.h"
#include "Win32RestartManager.h"
#include "resource.h"

namespace setup {

namespace {

constexpr wchar_t kClassName[] = L"Tolvane.SetupWindow";
constexpr int kClientWidth = 2250;
constexpr int kClientHeight = 4185;

// Not IDOK or IDCANCEL: Esc arrives as IDCANCEL and presses the button with
// the cancel role, Exit; Enter presses the focused button, else the one with
// the default role, Install. Without that role IsDialogMessage found no
// default and sent IDOK, which no control has, so Enter in the folder box did
// nothing.
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

constexpr int kInInstallFrame = kInstallFrame;
constexpr int kInUninstallFrame = kUninstallFrame;

using winkit::ButtonRole;
using winkit::ControlKind;
using winkit::kInWindow;
// Tab follows the layout from top to bottom; the folder label shows the
// access key of the box after it.
const winkit::ControlSpec kControls[] = {
    // kind, id, caption, container, left, top, width, height, tab index
    {ControlKind::Label, kWelcomeLabel,
     L"Welcome to the installation of Tolvane. Please follow the easy (un)installation-steps.", kInWindow, 45, 45,
     2130, 615, 0},
    {ControlKind::Frame, kInstallFrame, L"Installation", kInWindow, 0, 720, 2250, 1560, 1},
    {ControlKind::Frame, kUninstallFrame, L"Uninstallation", kInWindow, 0, 2400, 2250, 1215, 6},
    {ControlKind::Button, kInstallButton, L"&Install", kInInstallFrame, 240, 1080, 1695, 375, 5, ButtonRole::Default},
    {ControlKind::Label, kUninstallLabel, L"Click the button below if you want to uninstall Tolvane.",
     kInUninstallFrame, 120, 240, 2055, 375, 7},
    {ControlKind::Button, kUninstallButton, L"&Uninstall", kInUninstallFrame, 240, 720, 1695, 375, 8},
    {ControlKind::Button, kExitButton, L"E&xit", kInWindow, 405, 3720, 1335, 375, 9, ButtonRole::Cancel},
    {ControlKind::CheckBox, kAutostartCheck, L"Make it run &automatically", kInInstallFrame, 120, 240, 2055, 255, 2},
    {ControlKind::TextBox, kFolderEdit, kInitialFolderText, kInInstallFrame, 120, 720, 2055, 285, 4},
    {ControlKind::Label, kFolderLabel, L"&Folder where it's installed to:", kInInstallFrame, 120, 480, 2055, 255, 3},
};

}  // namespace

SetupWindow& SetupWindow::Instance() {
    static SetupWindow window;
    return window;
}

bool SetupWindow::Open(const Switches& switches, Log& log, const OwnProgram& ownProgram) {
    if (!CreateTopLevel({kClassName, IDI_SETUP, kTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                         WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT}))
        return false;
    m_log = &log;
    m_ownProgram = &ownProgram;
    // An installation is found in its folder, and updated or repaired there.
    const std::wstring folder = switches.folder.value_or(InstalledFolder(registry::SystemBackend()));
    if (!folder.empty()) SetWindowTextW(m_controls.Get(kFolderEdit), folder.c_str());
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

void SetupWindow::OnInstall() {
    HWND folderEdit = m_controls.Get(kFolderEdit);
    const InstallRequest request{winkit::WindowText(folderEdit),
                                 SendMessageW(m_controls.Get(kAutostartCheck), BM_GETCHECK, 0, 0) == BST_CHECKED};
    Win32Files files(*m_ownProgram);
    MessageFront front(m_hwnd);
    Win32RestartManager manager;
    DesktopLaunchers desktop;
    switch (InstallFlow(request, ShippedSources(), files, registry::SystemBackend(), {manager, desktop}, front, *m_log,
                        winkit::SystemMessage)
                .outcome) {
    case Outcome::Installed:
        Destroy();
        break;
    case Outcome::InstalledNotStarted:
        break;
    default:
        SetFocusTo(folderEdit);
        break;
    }
}

void SetupWindow::OnUninstall() {
    MessageFront front(m_hwnd);
    DesktopLaunchers launchers;
    UninstallFlow(registry::SystemBackend(), launchers, winkit::ProgramPath(), front, *m_log, winkit::SystemMessage);
}

}  // namespace setup
