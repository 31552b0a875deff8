#include "SettingsDialog.h"

#include <iterator>

#include "Actions.h"
#include "Error.h"
#include "Registry.h"
#include "resource.h"

namespace launcher {

namespace {

constexpr wchar_t kClassName[] = L"Tolvane.SettingsDialog";
constexpr wchar_t kCaption[] = L"Settings";
constexpr int kClientWidth = 3765;
constexpr int kClientHeight = 2745;

// Away from IDOK/IDCANCEL: IsDialogMessage turns Enter and Escape into those
// commands, and neither button may answer them.
enum ControlId {
    kModeFrame = 2001,
    kModeLabel,
    kFirstModeOption = 2010,  // one per entry of kOptionModeNames, in order
    kSaveButton = 2020,
    kCancelButton,
    kFolderFrame = 2030,
    kFolderLabel,
    kFolderEdit,
};

// Container indices: rows of the frames in the table below.
constexpr int kInModeFrame = 0;
constexpr int kInFolderFrame = 8;

using winkit::ControlKind;
using winkit::kInWindow;
const winkit::ControlSpec kControls[] = {
    // kind, id, caption, container, left, top, width, height, tab index
    {ControlKind::Frame, kModeFrame, L"Explorer-mode", kInWindow, 20, 0, 3720, 1485, 0},
    {ControlKind::Label, kModeLabel, L"Please choose the window-mode of the Explorer:", kInModeFrame, 120, 240, 3495,
     255, 1},
    {ControlKind::OptionButton, kFirstModeOption + 0, kOptionCaptions[0], kInModeFrame, 120, 480, 2415,
     255, 2},
    {ControlKind::OptionButton, kFirstModeOption + 1, kOptionCaptions[1], kInModeFrame, 120, 720, 2415,
     255, 3},
    {ControlKind::OptionButton, kFirstModeOption + 2, kOptionCaptions[2], kInModeFrame, 120, 960, 1455, 255, 4},
    {ControlKind::OptionButton, kFirstModeOption + 3, kOptionCaptions[3], kInModeFrame, 120, 1200, 1695, 255, 5},
    {ControlKind::Button, kSaveButton, L"Save", kInWindow, 720, 2280, 1000, 375, 6},
    {ControlKind::Button, kCancelButton, L"Cancel", kInWindow, 1920, 2280, 1000, 375, 7},
    {ControlKind::Frame, kFolderFrame, L"Folder which is opened", kInWindow, 20, 1560, 3720, 615, 8},
    {ControlKind::Label, kFolderLabel, L"Path:", kInFolderFrame, 120, 280, 615, 255, 9},
    {ControlKind::TextBox, kFolderEdit, L"C:\\", kInFolderFrame, 600, 240, 3015, 285, 10},
};

}  // namespace

SettingsDialog& SettingsDialog::Instance() {
    static SettingsDialog dialog;
    return dialog;
}

void SettingsDialog::Show() {
    // Not owned by the main window: the dialog outlives Exit, and the launcher
    // ends only when the dialog closes too. Fixed size: nothing moves the
    // controls when the window changes size. No WS_CLIPCHILDREN: a group box
    // paints only its border, so a clipped parent would leave the frame's
    // inside unpainted.
    if (!IsOpen() && !CreateTopLevel({kClassName, IDI_TOLVANE, kCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0})) {
        winkit::ShowInformation(nullptr, L"Tolvane could not open its Settings window.", kLauncherCaption);
        return;
    }
    if (IsIconic(m_hwnd)) ShowWindow(m_hwnd, SW_RESTORE);
    ShowWindow(m_hwnd, SW_SHOW);
    SetForegroundWindow(m_hwnd);
}

void SettingsDialog::OnFailure() { winkit::ShowInformation(nullptr, kUnexpectedFailure, kLauncherCaption); }

void SettingsDialog::OnCreate() {
    m_controls.Create(m_hwnd, kControls, std::size(kControls));
    winkit::SizeAndCentre(m_hwnd, kClientWidth, kClientHeight);
    LoadValues();
}

HWND SettingsDialog::Option(int index) const { return m_controls.Get(kFirstModeOption + index); }

void SettingsDialog::LoadValues() {
    const StoredSettings stored = ReadSettings(registry::SystemBackend());
    if (const auto option = OptionForMode(stored.mode)) m_controls.SelectOption(Option(*option));
    m_controls.UpdateOptionTabStops();
    SetWindowTextW(m_controls.Get(kFolderEdit), stored.folder.c_str());
    // What a policy sets is shown, greyed: the administrator decides it.
    for (int index = 0; index < kModeOptionCount; ++index) EnableWindow(Option(index), !stored.modeByPolicy);
    EnableWindow(m_controls.Get(kFolderEdit), !stored.folderByPolicy);
}

void SettingsDialog::OnCommand(int id, int code, HWND control) {
    if (code != BN_CLICKED || control == nullptr) return;
    if (id == kSaveButton) {
        OnSave();
    } else if (id == kCancelButton) {
        OnCancel();
    }
}

std::array<bool, kModeOptionCount> SettingsDialog::SelectedOptions() const {
    std::array<bool, kModeOptionCount> selected{};
    for (int index = 0; index < kModeOptionCount; ++index)
        selected[static_cast<std::size_t>(index)] = SendMessageW(Option(index), BM_GETCHECK, 0, 0) == BST_CHECKED;
    return selected;
}

void SettingsDialog::OnSave() {
    const std::wstring folder = winkit::WindowText(m_controls.Get(kFolderEdit));
    const SaveOutcome outcome = SaveSettings(registry::SystemBackend(), ModeForOptions(SelectedOptions()), folder);
    if (!outcome.Ok()) {
        // The dialog stays open with the user's edits so that nothing typed is lost.
        winkit::ShowInformation(m_hwnd, SaveFailureText(outcome, winkit::SystemMessage(outcome.FirstError())),
                                kCaption);
        return;
    }
    Destroy();
}

void SettingsDialog::OnCancel() {
    ShowWindow(m_hwnd, SW_HIDE);
    Destroy();
}

}  // namespace launcher
