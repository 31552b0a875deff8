#include "SettingsDialog.h"

#include <commctrl.h>

#include <iterator>

#include "DialogTables.h"
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
using namespace settings;

const wchar_t* Caption() { return Text(TextId::SettingsCaption); }

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
    if (!IsOpen() && !CreateTopLevel({kClassName, IDI_TOLVANE, Caption(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0})) {
        winkit::ShowInformation(nullptr, Text(TextId::SettingsNotOpened), kLauncherCaption);
        return;
    }
    if (IsIconic(m_hwnd)) ShowWindow(m_hwnd, SW_RESTORE);
    ShowWindow(m_hwnd, SW_SHOW);
    // While a dialog of its own is open (Favourites, the folder picker), that one.
    SetForegroundWindow(GetLastActivePopup(m_hwnd));
}

void SettingsDialog::OnFailure() { winkit::ShowInformation(nullptr, Text(TextId::UnexpectedFailure), kLauncherCaption); }

void SettingsDialog::OnCreate() {
    m_controls.Create(m_hwnd, kControls, std::size(kControls), CaptionText);
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
    std::wstring note = Text(TextId::HeldCombinationNote);
    if (!hotkey) {
        note = Text(TextId::UnreadableHotkeyNote);
    } else if (const HotkeyVerdict verdict = JudgeHotkeyHere(*hotkey); !verdict.Allowed()) {
        // A stored combination the rule refuses counts as none.
        note = HotkeyRefusalNote(*hotkey, verdict);
        hotkey = Hotkey{};
    } else if (stored.hotkeyByPolicy) {
        note = Text(TextId::HotkeyByPolicy);
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
    ShowHotkeyNote(m_controls.Get(kHotkeyNote), note.empty() ? Text(TextId::HeldCombinationNote) : note);
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
            winkit::ShowInformation(m_hwnd, Format(TextId::ChooseAnother, {m_box.Refusal()}), Caption());
            return;
        }
        // A favourite's combination would not reach the main folder.
        const std::vector<Favourite>& favourites = launcher.Favourites().entries;
        if (const auto holder = HotkeyHolder(*hotkey, Hotkey{}, favourites, kMainFolder);
            holder && !(*hotkey == previous)) {
            winkit::ShowInformation(m_hwnd, HotkeyGivenText(*hotkey, *holder, favourites), Caption());
            return;
        }
        // Taken before anything is stored, so that a combination another
        // program holds is refused with the dialog still open.
        if (const winkit::Win32Result taken = launcher.UseHotkey(*hotkey); !taken.Ok()) {
            winkit::ShowInformation(m_hwnd, HotkeyTakenInSettingsText(*hotkey, winkit::SystemMessage(taken.code)),
                                    Caption());
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
                                Caption());
        return;
    }
    Destroy();
}

void SettingsDialog::OnCancel() {
    ShowWindow(m_hwnd, SW_HIDE);
    Destroy();
}

}  // namespace launcher
