#include "SettingsForm.h"

#include <iterator>
#include <utility>

#include "Error.h"
#include "Forms.h"
#include "Registry.h"
#include "resource.h"

namespace launcher {

namespace {

constexpr wchar_t kClassName[] = L"Tolvane.Form2";
constexpr wchar_t kCaption[] = L"Settings";
constexpr int kClientWidth = 3765;
constexpr int kClientHeight = 2745;

// Away from IDOK/IDCANCEL: IsDialogMessage turns Enter and Escape into those
// commands, and neither button may answer them.
enum ControlId {
    kFrameMode = 2001,
    kLblBeschreibung,
    kOptModus0 = 2010,
    kOptModus1,
    kOptModus2,
    kOptModus3,
    kCmdSave = 2020,
    kCmdCancel,
    kFramePath = 2030,
    kLblBeschreibung2,
    kTxtPfad,
};

using winkit::ControlKind;
const winkit::ControlSpec kSettingsControls[] = {
    // kind, name, id, caption, container, left, top, width, height, tab index
    {ControlKind::Frame, L"frmRahmen", kFrameMode, L"Explorer-mode", -1, 20, 0, 3720, 1485, 0},
    {ControlKind::Label, L"lblBeschreibung", kLblBeschreibung, L"Please choose the window-mode of the Explorer:", 0,
     120, 240, 3495, 255, 1},
    {ControlKind::OptionButton, L"optModus(0)", kOptModus0, L"in the foreground, minimized", 0, 120, 480, 2415, 255, 2},
    {ControlKind::OptionButton, L"optModus(1)", kOptModus1, L"in the foreground, maximized", 0, 120, 720, 2415, 255, 3},
    {ControlKind::OptionButton, L"optModus(2)", kOptModus2, L"in the taskbar", 0, 120, 960, 1455, 255, 4},
    {ControlKind::OptionButton, L"optModus(3)", kOptModus3, L"last size, position", 0, 120, 1200, 1695, 255, 5},
    {ControlKind::Button, L"cmdSpAb(0)", kCmdSave, L"Save", -1, 720, 2280, 1000, 375, 6},
    {ControlKind::Button, L"cmdSpAb(1)", kCmdCancel, L"Cancel", -1, 1920, 2280, 1000, 375, 7},
    {ControlKind::Frame, L"frmPfad", kFramePath, L"Folder which is opened", -1, 20, 1560, 3720, 615, 8},
    {ControlKind::Label, L"lblBeschreibung2", kLblBeschreibung2, L"Path:", 8, 120, 280, 615, 255, 9},
    {ControlKind::TextBox, L"txtPfad", kTxtPfad, L"C:\\", 8, 600, 240, 3015, 285, 10},
};

}  // namespace

Form2& Form2::Instance() {
    static Form2 form;
    return form;
}

void Form2::Show() {
    if (m_hwnd == nullptr && !Load()) {
        ShowFailure(L"Tolvane could not open its Settings window.");
        return;
    }
    if (IsIconic(m_hwnd)) ShowWindow(m_hwnd, SW_RESTORE);
    ShowWindow(m_hwnd, SW_SHOW);
    SetForegroundWindow(m_hwnd);
}

bool Form2::Load() {
    // The class keeps the icons for the program's lifetime, across reloads.
    static bool registered = false;
    if (!registered) {
        m_icons = winkit::LoadIconPair(ProgramInstance(), IDI_TOLVANE);
        registered = winkit::RegisterFormClass(ProgramInstance(), kClassName, &winkit::RoutedWindowProc<Form2>,
                                               m_icons);
        if (!registered) return false;
    }
    // Not owned by the main window: the dialog outlives Exit, and the launcher
    // ends only when the dialog closes too. Fixed size: nothing moves the
    // controls when the window changes size. No WS_CLIPCHILDREN: a group box
    // paints only its border, so a clipped parent would leave the frame's
    // inside unpainted.
    CreateWindowExW(0, kClassName, kCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                    CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr, nullptr, ProgramInstance(), this);
    return m_hwnd != nullptr;
}

void Form2::ReportFailure() { ShowFailure(kUnexpectedFailure); }

LRESULT Form2::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        FormLoaded();
        m_lastFocus = nullptr;
        m_controls.Create(m_hwnd, kSettingsControls, std::size(kSettingsControls));
        SetIcons();
        Form_Load();
        return 0;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
            if (id == kCmdSave) cmdSpAb_Click(0);
            else if (id == kCmdCancel) cmdSpAb_Click(1);
            else if (id >= kOptModus0 && id <= kOptModus3) MoveGroupTabStop();
        }
        return 0;
    }
    case WM_NEXTDLGCTL:
        // IsDialogMessage asks for arrow-key moves inside the mode group with
        // this message, which only a real dialog's procedure would answer.
        NextControl(wParam, lParam);
        return 0;
    case WM_ACTIVATE:
        // A plain window, unlike a dialog, forgets which control had the focus
        // when it is deactivated; keep it so that switching back lands there.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus != nullptr && IsChild(m_hwnd, focus)) m_lastFocus = focus;
        } else if (HIWORD(wParam) == 0) {
            RestoreFocus();
        }
        return 0;
    case WM_DPICHANGED:
        winkit::ApplyDpiChange(m_hwnd, m_controls, wParam, lParam);
        return 0;
    case WM_CLOSE:
        // The close box unloads without writing anything.
        Unload();
        return 0;
    case WM_NCDESTROY: {
        HWND hwnd = std::exchange(m_hwnd, nullptr);
        m_lastFocus = nullptr;
        FormUnloaded();
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    default:
        return DefWindowProcW(m_hwnd, message, wParam, lParam);
    }
}

void Form2::SetIcons() {
    SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icons.big.Get()));
    SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icons.small.Get()));
}

HWND Form2::Option(int index) const {
    return m_controls.Get(kOptModus0 + index);
}

void Form2::Form_Load() {
    winkit::SizeAndCentre(m_hwnd, kClientWidth, kClientHeight);
    const StoredSettings stored = ReadSettings(registry::SystemBackend());
    if (const auto option = OptionForMode(stored.mode))
        SendMessageW(Option(*option), BM_SETCHECK, BST_CHECKED, 0);
    MoveGroupTabStop();
    SetWindowTextW(m_controls.Get(kTxtPfad), stored.folder.c_str());
}

void Form2::RestoreFocus() {
    if (m_lastFocus != nullptr && IsWindow(m_lastFocus) && IsChild(m_hwnd, m_lastFocus)) {
        SetFocus(m_lastFocus);
        return;
    }
    // First activation: the first control in tab order that takes the focus
    // is the mode group, entered at its selected option as a dialog would.
    const int selected = SelectedOption();
    if (HWND target = Option(selected >= 0 ? selected : 0)) SetFocus(target);
}

int Form2::SelectedOption() const {
    for (int index = 0; index < kModeOptionCount; ++index)
        if (SendMessageW(Option(index), BM_GETCHECK, 0, 0) == BST_CHECKED) return index;
    return -1;
}

void Form2::MoveGroupTabStop() {
    // Tab enters the group at its selected option (the first one when none
    // is selected): only that option keeps the tab stop.
    const int selected = SelectedOption();
    for (int index = 0; index < kModeOptionCount; ++index) {
        HWND option = Option(index);
        const LONG_PTR style = GetWindowLongPtrW(option, GWL_STYLE);
        const bool stop = index == (selected >= 0 ? selected : 0);
        SetWindowLongPtrW(option, GWL_STYLE, stop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP)));
    }
}

void Form2::NextControl(WPARAM wParam, LPARAM lParam) {
    HWND focus = GetFocus();
    HWND target = lParam != 0 ? reinterpret_cast<HWND>(wParam)
                              : GetNextDlgTabItem(m_hwnd, focus, wParam != 0 ? TRUE : FALSE);
    if (target == nullptr || !IsChild(m_hwnd, target)) return;
    SetFocus(target);
    // An arrow key inside the group selects the option it moves to.
    const int id = GetDlgCtrlID(target);
    if (lParam != 0 && id >= kOptModus0 && id <= kOptModus3) {
        for (int index = 0; index < kModeOptionCount; ++index)
            SendMessageW(Option(index), BM_SETCHECK, Option(index) == target ? BST_CHECKED : BST_UNCHECKED, 0);
        MoveGroupTabStop();
    }
}

void Form2::cmdSpAb_Click(std::int16_t index) {
    switch (index) {
    case 0:
        Save();
        break;
    case 1:
        ShowWindow(m_hwnd, SW_HIDE);
        Unload();
        break;
    default:
        break;
    }
}

void Form2::Save() {
    std::array<bool, kModeOptionCount> selected{};
    for (int index = 0; index < kModeOptionCount; ++index)
        selected[static_cast<std::size_t>(index)] =
            SendMessageW(Option(index), BM_GETCHECK, 0, 0) == BST_CHECKED;
    const std::wstring folder = winkit::WindowText(m_controls.Get(kTxtPfad));
    const SaveOutcome outcome = SaveSettings(registry::SystemBackend(), ModeForOptions(selected), folder);
    if (!outcome.Ok()) {
        // The dialog stays open with the user's edits so that nothing typed is lost.
        winkit::ShowInformation(
            m_hwnd, SaveFailureText(outcome, winkit::SystemMessage(static_cast<DWORD>(outcome.FirstError()))),
            kCaption);
        return;
    }
    Unload();
}

void Form2::Unload() {
    if (m_hwnd != nullptr) DestroyWindow(m_hwnd);
}

}  // namespace launcher
