#include "SetupForm.h"

#include <iterator>
#include <new>

#include "Error.h"
#include "Process.h"
#include "Registry.h"
#include "Win32Files.h"
#include "resource.h"

namespace setup {

namespace {

constexpr wchar_t kClassName[] = L"TolvaneSetup.Form1";
constexpr int kClientWidth = 2250;
constexpr int kClientHeight = 4185;

// Not IDOK or IDCANCEL: the window has no default and no cancel button, so
// Enter and Escape (which IsDialogMessage turns into those ids) do nothing.
enum ControlId {
    kLabel1 = 1001,
    kFrame1,
    kFrame2,
    kCommand1,
    kLabel3,
    kCommand2,
    kCommand3,
    kCheck2,
    kText1,
    kLabel4,
};

using winkit::ControlKind;
const winkit::ControlSpec kControls[] = {
    // kind, name, id, caption, container, left, top, width, height, tab index
    {ControlKind::Label, L"Label1", kLabel1,
     L"Welcome to the installation of Tolvane. Please follow the easy (un)installation-steps.", -1, 45, 45, 2130,
     615, 0},
    {ControlKind::Frame, L"Frame1", kFrame1, L"Installation", -1, 0, 720, 2250, 1560, 1},
    {ControlKind::Frame, L"Frame2", kFrame2, L"Uninstallation", -1, 0, 2400, 2250, 1215, 2},
    {ControlKind::Button, L"Command1", kCommand1, L"Install", 1, 240, 1080, 1695, 375, 3},
    {ControlKind::Label, L"Label3", kLabel3, L"Click the button below if you want to uninstall Tolvane.", 2, 120,
     240, 2055, 375, 4},
    {ControlKind::Button, L"Command2", kCommand2, L"Uninstall", 2, 240, 720, 1695, 375, 5},
    {ControlKind::Button, L"Command3", kCommand3, L"Exit", -1, 405, 3720, 1335, 375, 6},
    {ControlKind::CheckBox, L"Check2", kCheck2, L"Make it run automatically", 1, 120, 240, 2055, 255, 7},
    {ControlKind::TextBox, L"Text1", kText1, kInitialFolderText, 1, 120, 720, 2055, 285, 8},
    {ControlKind::Label, L"Label4", kLabel4, L"Folder where it's installed to:", 1, 120, 480, 2055, 255, 9},
};

std::wstring Reason(long error) { return winkit::SystemMessage(static_cast<DWORD>(error)); }

}  // namespace

Form1& Form1::Instance() {
    static Form1 form;
    return form;
}

bool Form1::Load(HINSTANCE instance) {
    m_instance = instance;
    m_icons = winkit::LoadIconPair(instance, IDI_SETUP);
    if (!winkit::RegisterFormClass(instance, kClassName, &winkit::RoutedWindowProc<Form1>, m_icons)) return false;
    CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kClassName, kTitle,
                    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT, CW_USEDEFAULT, 100,
                    100, nullptr, nullptr, instance, this);
    if (m_hwnd == nullptr) return false;
    Form_Load();
    return true;
}

// Only memory can run out in a handler; the window stays usable.
void Form1::ReportFailure() {
    winkit::ShowInformation(m_hwnd, L"Setup ran out of memory. Please close other programs and try again.", kTitle);
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        m_controls.Create(m_hwnd, kControls, std::size(kControls));
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
            switch (LOWORD(wParam)) {
            case kCommand1:
                Command1_Click();
                break;
            case kCommand2:
                Command2_Click();
                break;
            case kCommand3:
                Command3_Click();
                break;
            default:
                break;
            }
        }
        return 0;
    case WM_ACTIVATE:
        // A plain window forgets its focused control when it is deactivated
        // (message box, another program); dialogs remember it, and so do we.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus != nullptr && IsChild(m_hwnd, focus)) m_focus = focus;
        } else if (m_focus != nullptr && IsWindow(m_focus)) {
            SetFocus(m_focus);
            return 0;
        }
        return DefWindowProcW(m_hwnd, message, wParam, lParam);
    case WM_DPICHANGED:
        winkit::ApplyDpiChange(m_hwnd, m_controls, wParam, lParam);
        return 0;
    case WM_CLOSE:
        DestroyWindow(m_hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        HWND hwnd = m_hwnd;
        m_hwnd = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    default:
        return DefWindowProcW(m_hwnd, message, wParam, lParam);
    }
}

void Form1::Form_Load() {
    winkit::SizeAndCentre(m_hwnd, kClientWidth, kClientHeight);
    ShowWindow(m_hwnd, SW_SHOW);
    UpdateWindow(m_hwnd);
    HWND text1 = m_controls.Get(kText1);
    m_focus = text1;
    SetFocus(text1);
}

void Form1::Say(const std::wstring& text, const wchar_t* title) { winkit::ShowInformation(m_hwnd, text, title); }

void Form1::Command1_Click() {
    if (Install()) DestroyWindow(m_hwnd);
}

bool Form1::Install() {
    const std::wstring typed = winkit::WindowText(m_controls.Get(kText1));
    if (auto refusal = RefuseFolderText(typed)) {
        Say(*refusal, kNotFinishedTitle);
        m_focus = m_controls.Get(kText1);
        return false;
    }
    const bool autostart = SendMessageW(m_controls.Get(kCheck2), BM_GETCHECK, 0, 0) == BST_CHECKED;
    m_plan = MakeInstallPlan(typed, winkit::ProgramFolder(), autostart);

    Win32Files files;
    const InstallReport report = RunInstall(m_plan, files, registry::SystemBackend());
    if (!report.Complete()) {
        Say(FailureText(m_plan, report, Reason), kNotFinishedTitle);
        m_focus = m_controls.Get(kText1);
        return false;
    }

    Say(kFinishedText, kFinishedTitle);

    const StartCommand start = LauncherStart(m_plan);
    // The launcher inherits our current folder; under Wine that would be the
    // download folder, which must not stay in use by a resident program.
    const std::wstring previousFolder = [] {
        wchar_t buffer[MAX_PATH] = {};
        const DWORD length = GetCurrentDirectoryW(MAX_PATH, buffer);
        return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : std::wstring();
    }();
    SetCurrentDirectoryW(start.workingFolder.c_str());
    const auto error = winkit::StartProgram(start.programPath, start.commandLine, start.showState);
    if (error) {
        if (!previousFolder.empty()) SetCurrentDirectoryW(previousFolder.c_str());
        Say(StartFailureText(start, static_cast<long>(error->code), Reason), kNotFinishedTitle);
        return false;
    }
    return true;
}

void Form1::Command2_Click() {
    const UninstallReport report = RunUninstall(registry::SystemBackend());
    if (report.Complete())
        Say(kUninstalledText, kUninstalledTitle);
    else
        Say(UninstallFailureText(report, Reason), kUninstallNotFinishedTitle);
}

void Form1::Command3_Click() { DestroyWindow(m_hwnd); }

}  // namespace setup
