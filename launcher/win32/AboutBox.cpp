#include "AboutBox.h"

#include <iterator>

#include "../../version/Version.h"
#include "Error.h"
#include "HelpKey.h"
#include "LauncherTexts.h"
#include "resource.h"

namespace launcher {

namespace {

constexpr wchar_t kClassName[] = L"Tolvane.AboutBox";
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
const winkit::ControlSpec kControls[] = {
    // kind, id, caption, container, left, top, width, height, tab index
    {ControlKind::Frame, kAboutFrame, L"About Tolvane", kInWindow, 50, 0, 3080, 1890, 0},
    {ControlKind::Label, kCreditLabel, L"Written by:", kInAboutFrame, 120, 240, 975, 255, 1},
    {ControlKind::Label, kMakerLabel, L"Varnholt", kInAboutFrame, 120, 520, 1455, 255, 2},
    {ControlKind::Label, kContactLabel, L"hi@example.com (Subject: Tolvane)", kInAboutFrame, 120, 765, 2895, 255, 5},
    {ControlKind::Label, kWebLabel, L"www.example.com/tolvane", kInAboutFrame, 120, 960, 2415, 255, 6},
    {ControlKind::Label, kVersionLabel, TOLVANE_WIDEN(TOLVANE_ABOUT_VERSION), kInAboutFrame, 120, 1320, 2055, 255, 3},
    {ControlKind::Label, kDateLabel, TOLVANE_WIDEN(TOLVANE_ABOUT_DATE), kInAboutFrame, 120, 1560, 1695, 255, 4},
    {ControlKind::Button, kOkButton, L"&OK", kInWindow, 1080, 1950, 1095, 375, 7, winkit::ButtonRole::DefaultAndCancel},
};

}  // namespace

AboutBox& AboutBox::Instance() {
    static AboutBox box;
    return box;
}

void AboutBox::Show() {
    // The window, its controls and their font are made when the About box is
    // first shown: a font wakes the whole font system, megabytes a resident
    // tray program would otherwise carry for nothing.
    if (!IsOpen() && !CreateTopLevel({kClassName, IDI_TOLVANE, kLauncherCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                      WS_EX_DLGMODALFRAME})) {
        winkit::ShowInformation(nullptr, L"Tolvane could not open its About box.", kLauncherCaption);
        return;
    }
    ShowWindow(m_hwnd, SW_SHOW);
    SetForegroundWindow(m_hwnd);
}

void AboutBox::OnFailure() { winkit::ShowInformation(nullptr, kUnexpectedFailure, kLauncherCaption); }

void AboutBox::OnCreate() {
    m_controls.Create(m_hwnd, kControls, std::size(kControls));
    winkit::SizeAndCentre(m_hwnd, kClientWidth, kClientHeight);
}

void AboutBox::OnCommand(int id, int, HWND) {
    // OK, and Enter and Esc through its roles.
    if (id == kOkButton) ShowWindow(m_hwnd, SW_HIDE);
}

bool AboutBox::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (AnswerHelp(m_hwnd, message, result)) return true;
    // The close box and Alt+F4 hide it as OK does: an information box that
    // took the launcher with it would surprise everyone.
    if (message != WM_CLOSE) return false;
    ShowWindow(m_hwnd, SW_HIDE);
    result = 0;
    return true;
}

}  // namespace launcher
