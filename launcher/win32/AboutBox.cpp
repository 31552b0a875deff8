#include "AboutBox.h"

#include <iterator>

#include "DialogTables.h"
#include "Error.h"
#include "HelpKey.h"
#include "LauncherTexts.h"
#include "resource.h"

namespace launcher {

namespace {

constexpr wchar_t kClassName[] = L"Tolvane.AboutBox";
using namespace about;

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
        winkit::ShowInformation(nullptr, Text(TextId::AboutNotOpened), kLauncherCaption);
        return;
    }
    ShowWindow(m_hwnd, SW_SHOW);
    SetForegroundWindow(m_hwnd);
}

void AboutBox::OnFailure() { winkit::ShowInformation(nullptr, Text(TextId::UnexpectedFailure), kLauncherCaption); }

void AboutBox::OnCreate() {
    m_controls.Create(m_hwnd, kControls, std::size(kControls), CaptionText);
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
