#include "SettingsDialog.h"

#include <commctrl.h>

#include <iterator>

#include "Error.h"
#include "FavouriteTexts.h"
#include "FavouritesDialog.h"
#include "FolderPicker.h"
#include "Hotkey.h"
#include "HotkeyBox.h"
#include "HotkeyRule.h"
#include "LauncherTexts.h"
#include "MainWindow.h"
#include "Registry.h"
#include "WindowModes.h"
#include "Win32KeyboardLayout.h"
#include "resource.h"

namespace launcher {

namespace {

constexpr wchar_t kClassName[] = L"Tolvane.SettingsDialog";
constexpr wchar_t kCaption[] = L"Settings";
// Browse beside the folder box and Favourites beside Cancel widen the window,
// and the hotkey's note with it, which fits its line then; every control
// keeps its place.
constexpr int kWidening = 840;
constexpr int kClientWidth = 3765 + kWidening;
// The Hotkey group below the folder's moves Save, Cancel and the bottom edge down.
constexpr int kHotkeyGroupHeight = 930;
constexpr int kClientHeight = 2745 + kHotkeyGroupHeight;
constexpr int kButtonsTop = 2280 + kHotkeyGroupHeight;

// Away from IDOK/IDCANCEL: Enter and Esc reach Save and Cancel through their
// roles in the table.
enum ControlId {
    kModeFrame = 2001,
    kModeLabel,
    kFirstModeOption = 2010,  // one per entry of kWindowModes, in order
    kSaveButton = 2020,
    kCancelButton,
    kFolderFrame = 2030,
    kFolderLabel,
    kFolderEdit,
    kBrowseButton,
    kFavouritesButton,
    kHotkeyFrame = 2040,
    kHotkeyLabel,
    kHotkeyBox,
    kWindowsKeyCheck,
    kHotkeyNote,
    kWindowsKeyShown,
};

// Container indices: rows of the frames in the table below.
constexpr int kInModeFrame = 0;
constexpr int kInFolderFrame = 8;
constexpr int kInHotkeyFrame = 12;

using winkit::ButtonRole;
using winkit::ControlKind;
using winkit::kInWindow;
const winkit::ControlSpec kControls[] = {
    // kind, id, caption, container, left, top, width, height, tab index
    {ControlKind::Frame, kModeFrame, L"Explorer-mode", kInWindow, 20, 0, 3720 + kWidening, 1485, 0},
    {ControlKind::Label, kModeLabel, L"Please choose the window-mode of the Explorer:", kInModeFrame, 120, 240, 3495,
     255, 1},
    {ControlKind::OptionButton, kFirstModeOption + 0, kWindowModes[0].caption, kInModeFrame, 120, 480, 2415,
     255, 2},
    {ControlKind::OptionButton, kFirstModeOption + 1, kWindowModes[1].caption, kInModeFrame, 120, 720, 2415,
     255, 3},
    {ControlKind::OptionButton, kFirstModeOption + 2, kWindowModes[2].caption, kInModeFrame, 120, 960, 1455, 255, 4},
    {ControlKind::OptionButton, kFirstModeOption + 3, kWindowModes[3].caption, kInModeFrame, 120, 1200, 1695, 255, 5},
    // Tab goes from top to bottom: the modes, the folder, the hotkey, then the buttons.
    {ControlKind::Button, kSaveButton, L"&Save", kInWindow, 720, kButtonsTop, 1000, 375, 15, ButtonRole::Default},
    {ControlKind::Button, kCancelButton, L"&Cancel", kInWindow, 1920, kButtonsTop, 1000, 375, 16,
     ButtonRole::Cancel},
    {ControlKind::Frame, kFolderFrame, L"Folder which is opened", kInWindow, 20, 1560, 3720 + kWidening, 615, 6},
    {ControlKind::Label, kFolderLabel, L"&Path:", kInFolderFrame, 120, 280, 615, 255, 7},
    {ControlKind::TextBox, kFolderEdit, L"C:\\", kInFolderFrame, 600, 240, 2745, 285, 8},
    {ControlKind::Button, kBrowseButton, L"&Browse...", kInFolderFrame, 3420, 210, 1020, 345, 9},
    {ControlKind::Frame, kHotkeyFrame, L"Hotkey", kInWindow, 20, 2250, 3720 + kWidening, 855, 10},
    {ControlKind::Label, kHotkeyLabel, L"&Keys:", kInHotkeyFrame, 120, 280, 615, 255, 11},
    {ControlKind::HotkeyBox, kHotkeyBox, L"", kInHotkeyFrame, 600, 240, 1695, 285, 12},
    // In the box's place, greyed, while "Use Win+E" is checked.
    {ControlKind::TextBox, kWindowsKeyShown, L"Win+E is used", kInHotkeyFrame, 600, 240, 1695, 285, 12},
    {ControlKind::CheckBox, kWindowsKeyCheck, L"Use &Win+E", kInHotkeyFrame, 2460, 255, 1155, 255, 13},
    {ControlKind::Label, kHotkeyNote, L"", kInHotkeyFrame, 120, 570, 3495 + kWidening, 255, 14},
    {ControlKind::Button, kFavouritesButton, L"&Favourites...", kInWindow, 3440, kButtonsTop, 1020, 375, 17},
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
    if (!IsOpen()) winkit::RegisterCommonControls(ICC_HOTKEY_CLASS);
    if (!IsOpen() && !CreateTopLevel({kClassName, IDI_TOLVANE, kCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0})) {
        winkit::ShowInformation(nullptr, L"Tolvane could not open its Settings window.", kLauncherCaption);
        return;
    }
    if (IsIconic(m_hwnd)) ShowWindow(m_hwnd, SW_RESTORE);
    ShowWindow(m_hwnd, SW_SHOW);
    // While a dialog of its own is open (Favourites, the folder picker), that one.
    SetForegroundWindow(GetLastActivePopup(m_hwnd));
}

void SettingsDialog::OnFailure() { winkit::ShowInformation(nullptr, kUnexpectedFailure, kLauncherCaption); }

void SettingsDialog::OnCreate() {
    m_controls.Create(m_hwnd, kControls, std::size(kControls));
    winkit::SizeAndCentre(m_hwnd, kClientWidth, kClientHeight);
    LoadValues();
    // The first box a user types in, unless a policy has greyed it.
    HWND folder = m_controls.Get(kFolderEdit);
    if (IsWindowEnabled(folder)) SetFocusTo(folder);
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
    LoadHotkey(stored);
}

void SettingsDialog::LoadHotkey(const StoredSettings& stored) {
    auto hotkey = ParseHotkey(stored.hotkey);
    const bool windowsKey = hotkey && hotkey->IsWindowsExplorerKey();
    std::wstring note = kHeldCombinationNote;
    if (!hotkey) {
        note = kUnreadableHotkeyNote;
    } else if (const HotkeyVerdict verdict = JudgeHotkeyHere(*hotkey); !verdict.Allowed()) {
        // A stored combination the rule refuses counts as none.
        note = HotkeyRefusalNote(*hotkey, verdict);
        hotkey = Hotkey{};
    } else if (stored.hotkeyByPolicy) {
        note = L"Your administrator has set the hotkey.";
    } else if (windowsKey) {
        note.clear();
    }
    m_box.Attach(m_controls.Get(kHotkeyBox), windowsKey ? std::nullopt : hotkey);
    SendMessageW(m_controls.Get(kWindowsKeyCheck), BM_SETCHECK, windowsKey ? BST_CHECKED : BST_UNCHECKED, 0);
    ShowHotkeyNote(m_controls.Get(kHotkeyNote), note);
    EnableWindow(m_controls.Get(kWindowsKeyCheck), !stored.hotkeyByPolicy);
    EnableWindow(m_controls.Get(kWindowsKeyShown), FALSE);
    m_box.Enable(!stored.hotkeyByPolicy);
    ShowWindowsKeyUse(windowsKey);
    m_hotkeyByPolicy = stored.hotkeyByPolicy;
}

void SettingsDialog::ShowWindowsKeyUse(bool used) {
    // Windows' own combination replaces the typed one while it is checked:
    // the box keeps the typed one out of sight.
    ShowWindow(m_box.Get(), used ? SW_HIDE : SW_SHOW);
    ShowWindow(m_controls.Get(kWindowsKeyShown), used ? SW_SHOW : SW_HIDE);
}

void SettingsDialog::UpdateHotkeyNote() {
    const Hotkey held = m_box.Held();
    std::wstring note = m_box.Refusal();
    // The main folder's own combination may stay; a favourite's would not reach it.
    const std::vector<Favourite>& favourites = MainWindow::Instance().Favourites().entries;
    if (note.empty() && !(held == MainWindow::Instance().ActiveHotkey()))
        if (const auto holder = HotkeyHolder(held, Hotkey{}, favourites, kMainFolder))
            note = HotkeyGivenNote(held, *holder, favourites);
    ShowHotkeyNote(m_controls.Get(kHotkeyNote), note.empty() ? kHeldCombinationNote : note);
}

std::optional<Hotkey> SettingsDialog::ChosenHotkey() const {
    if (m_controls.Checked(kWindowsKeyCheck)) return ParseHotkey(L"Win+E");
    if (!m_box.Refusal().empty()) return std::nullopt;
    return m_box.Held();
}

void SettingsDialog::OnCommand(int id, int code, HWND control) {
    if (id == kHotkeyBox && code == EN_CHANGE) UpdateHotkeyNote();
    if (code != BN_CLICKED || control == nullptr) return;
    if (id == kSaveButton) {
        OnSave();
    } else if (id == kCancelButton) {
        OnCancel();
    } else if (id == kWindowsKeyCheck) {
        ShowWindowsKeyUse(m_controls.Checked(kWindowsKeyCheck));
        // What the note says of the box's combination does not count meanwhile.
        if (m_controls.Checked(kWindowsKeyCheck))
            ShowHotkeyNote(m_controls.Get(kHotkeyNote), std::wstring());
        else
            UpdateHotkeyNote();
    } else if (id == kBrowseButton) {
        HWND folder = m_controls.Get(kFolderEdit);
        if (const auto picked = PickFolder(m_hwnd, winkit::WindowText(folder))) SetWindowTextW(folder, picked->c_str());
    } else if (id == kFavouritesButton) {
        FavouritesDialog::Instance().Show(m_hwnd,
                                          ModeForOptions(m_controls.CheckedOptions<kModeOptionCount>(kFirstModeOption)));
    }
}

void SettingsDialog::OnSave() {
    const std::wstring folder = winkit::WindowText(m_controls.Get(kFolderEdit));
    MainWindow& launcher = MainWindow::Instance();
    const Hotkey previous = launcher.ActiveHotkey();
    std::optional<std::wstring> hotkeyText;
    if (!m_hotkeyByPolicy) {
        const auto hotkey = ChosenHotkey();
        if (!hotkey) {
            winkit::ShowInformation(m_hwnd, m_box.Refusal() + kChooseAnother, kCaption);
            return;
        }
        // A favourite's combination would not reach the main folder.
        const std::vector<Favourite>& favourites = launcher.Favourites().entries;
        if (const auto holder = HotkeyHolder(*hotkey, Hotkey{}, favourites, kMainFolder);
            holder && !(*hotkey == previous)) {
            winkit::ShowInformation(m_hwnd, HotkeyGivenText(*hotkey, *holder, favourites), kCaption);
            return;
        }
        // Taken before anything is stored, so that a combination another
        // program holds is refused with the dialog still open.
        if (const winkit::Win32Result taken = launcher.UseHotkey(*hotkey); !taken.Ok()) {
            winkit::ShowInformation(m_hwnd, HotkeyTakenInSettingsText(*hotkey, winkit::SystemMessage(taken.code)),
                                    kCaption);
            return;
        }
        hotkeyText = FormatHotkey(*hotkey);
    }
    const SaveOutcome outcome =
        SaveSettings(registry::SystemBackend(), ModeForOptions(m_controls.CheckedOptions<kModeOptionCount>(kFirstModeOption)), folder, hotkeyText);
    if (!outcome.Ok()) {
        // The hotkey was not stored: the running one stays the stored one.
        if (outcome.hotkey.Refused()) launcher.UseHotkey(previous);
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
