#include "SetupWindow.h"

#include "DesktopLaunchers.h"
#include "Error.h"
#include "InstallTexts.h"
#include "SetupDialogTable.h"
#include "SetupTexts.h"
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
using namespace dialog;

}  // namespace

SetupWindow& SetupWindow::Instance() {
    static SetupWindow window;
    return window;
}

bool SetupWindow::Open(const Switches& switches, Log& log, const OwnProgram& ownProgram) {
    if (!CreateTopLevel({kClassName, IDI_SETUP, Text(TextId::Title), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
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
    winkit::ShowInformation(m_hwnd, Text(TextId::OutOfMemory), Text(TextId::Title));
}

void SetupWindow::OnCreate() { m_controls.Create(m_hwnd, kControls, kControlCount, CaptionText); }

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
