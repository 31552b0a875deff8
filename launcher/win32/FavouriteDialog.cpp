#include "FavouriteDialog.h"

#include <commctrl.h>

#include <iterator>

#include "Error.h"
#include "FavouriteTexts.h"
#include "FolderPicker.h"
#include "HotkeyBox.h"
#include "HotkeyRule.h"
#include "LauncherTexts.h"
#include "MainWindow.h"
#include "Text.h"
#include "WindowModes.h"
#include "Win32KeyboardLayout.h"
#include "resource.h"

namespace launcher {

namespace {

constexpr wchar_t kClassName[] = L"Tolvane.FavouriteDialog";
constexpr wchar_t kCaption[] = L"Favourite folder";
constexpr int kClientWidth = 5400;
constexpr int kClientHeight = 3750;

enum ControlId {
    kNameLabel = 3001,
    kNameEdit,
    kFolderLabel,
    kFolderEdit,
    kBrowseButton,
    kModeFrame,
    kFirstModeOption = 3010,  // one per entry of kWindowModes, in order
    kHotkeyLabel = 3020,
    kHotkeyBox,
    kHotkeyNote,
    kOkButton,
    kCancelButton,
};

constexpr int kInModeFrame = 5;

using winkit::ButtonRole;
using winkit::ControlKind;
using winkit::kInWindow;
const winkit::ControlSpec kControls[] = {
    // kind, id, caption, container, left, top, width, height, tab index
    {ControlKind::Label, kNameLabel, L"Na&me:", kInWindow, 120, 165, 900, 255, 0},
    {ControlKind::TextBox, kNameEdit, L"", kInWindow, 1080, 120, 4200, 285, 1},
    {ControlKind::Label, kFolderLabel, L"&Folder:", kInWindow, 120, 570, 900, 255, 2},
    {ControlKind::TextBox, kFolderEdit, L"", kInWindow, 1080, 525, 3075, 285, 3},
    {ControlKind::Button, kBrowseButton, L"&Browse...", kInWindow, 4260, 495, 1020, 345, 4},
    {ControlKind::Frame, kModeFrame, L"Explorer window", kInWindow, 120, 960, 5160, 1290, 5},
    {ControlKind::OptionButton, kFirstModeOption + 0, kWindowModes[0].caption, kInModeFrame, 120, 240, 3000, 255, 6},
    {ControlKind::OptionButton, kFirstModeOption + 1, kWindowModes[1].caption, kInModeFrame, 120, 480, 3000, 255, 7},
    {ControlKind::OptionButton, kFirstModeOption + 2, kWindowModes[2].caption, kInModeFrame, 120, 720, 3000, 255, 8},
    {ControlKind::OptionButton, kFirstModeOption + 3, kWindowModes[3].caption, kInModeFrame, 120, 960, 3000, 255, 9},
    {ControlKind::Label, kHotkeyLabel, L"&Keys:", kInWindow, 120, 2445, 900, 255, 10},
    {ControlKind::HotkeyBox, kHotkeyBox, L"", kInWindow, 1080, 2400, 1695, 285, 11},
    {ControlKind::Label, kHotkeyNote, L"", kInWindow, 120, 2760, 5160, 255, 12},
    {ControlKind::Button, kOkButton, L"&OK", kInWindow, 3120, 3255, 1020, 375, 13, ButtonRole::Default},
    {ControlKind::Button, kCancelButton, L"&Cancel", kInWindow, 4260, 3255, 1020, 375, 14, ButtonRole::Cancel},
};

}  // namespace

FavouriteDialog& FavouriteDialog::Instance() {
    static FavouriteDialog dialog;
    return dialog;
}

void FavouriteDialog::Show(HWND owner, const std::vector<Favourite>& list, std::size_t index,
                           const Favourite& favourite, Done done) {
    if (IsOpen()) return;
    m_list = list;
    m_index = index;
    m_favourite = favourite;
    m_done = std::move(done);
    winkit::RegisterCommonControls(ICC_HOTKEY_CLASS);
    if (!ShowModal({kClassName, IDI_TOLVANE, kCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME,
                    owner}))
        winkit::ShowInformation(owner, L"Tolvane could not open the favourite's window.", kLauncherCaption);
}

void FavouriteDialog::OnFailure() { winkit::ShowInformation(m_hwnd, kUnexpectedFailure, kLauncherCaption); }

void FavouriteDialog::OnCreate() {
    m_controls.Create(m_hwnd, kControls, std::size(kControls));
    winkit::SizeAndCentre(m_hwnd, kClientWidth, kClientHeight);
    SetWindowTextW(m_controls.Get(kNameEdit), m_favourite.name.c_str());
    SetWindowTextW(m_controls.Get(kFolderEdit), m_favourite.folder.c_str());
    if (const auto option = OptionForMode(m_favourite.mode))
        m_controls.SelectOption(m_controls.Get(kFirstModeOption + *option));
    m_controls.UpdateOptionTabStops();
    auto hotkey = ParseHotkey(m_favourite.hotkey);
    std::wstring note = hotkey ? kHeldCombinationNote : kUnreadableHotkeyNote;
    if (hotkey) {
        // A stored combination the rule refuses counts as none.
        if (const HotkeyVerdict verdict = JudgeHotkeyHere(*hotkey); !verdict.Allowed()) {
            note = HotkeyRefusalNote(*hotkey, verdict);
            hotkey = Hotkey{};
        }
    }
    m_box.Attach(m_controls.Get(kHotkeyBox), hotkey);
    ShowHotkeyNote(m_controls.Get(kHotkeyNote), note);
    SetFocusTo(m_controls.Get(kNameEdit));
}

void FavouriteDialog::OnCommand(int id, int code, HWND control) {
    if (id == kHotkeyBox && code == EN_CHANGE) UpdateHotkeyNote();
    if (code != BN_CLICKED || control == nullptr) return;
    if (id == kOkButton)
        OnOk();
    else if (id == kCancelButton)
        Destroy();
    else if (id == kBrowseButton)
        OnBrowse();
}

void FavouriteDialog::UpdateHotkeyNote() {
    const Hotkey held = m_box.Held();
    std::wstring note = m_box.Refusal();
    if (note.empty())
        if (const auto holder = HotkeyHolder(held, MainWindow::Instance().ActiveHotkey(), m_list, m_index))
            note = HotkeyGivenNote(held, *holder, m_list);
    ShowHotkeyNote(m_controls.Get(kHotkeyNote), note.empty() ? kHeldCombinationNote : note);
}

void FavouriteDialog::OnBrowse() {
    HWND folder = m_controls.Get(kFolderEdit);
    if (const auto picked = PickFolder(m_hwnd, winkit::WindowText(folder))) SetWindowTextW(folder, picked->c_str());
}

void FavouriteDialog::OnOk() {
    Favourite favourite{winkit::WindowText(m_controls.Get(kNameEdit)), winkit::WindowText(m_controls.Get(kFolderEdit)),
                        L"", m_favourite.hotkey};
    if (winkit::IsBlank(favourite.name) || winkit::IsBlank(favourite.folder)) {
        const bool noName = winkit::IsBlank(favourite.name);
        winkit::ShowInformation(m_hwnd, noName ? L"Please give the favourite a name." : L"Please choose its folder.",
                                kCaption);
        SetFocusTo(m_controls.Get(noName ? kNameEdit : kFolderEdit));
        return;
    }
    favourite.mode = ModeForOptions(m_controls.CheckedOptions<kModeOptionCount>(kFirstModeOption));
    // A combination the box cannot show (unreadable text, one with the
    // Windows key) stays as stored unless another is typed.
    if (m_box.Changed()) {
        const Hotkey typed = m_box.Held();
        if (const std::wstring refusal = m_box.Refusal(); !refusal.empty()) {
            winkit::ShowInformation(m_hwnd, refusal + kChooseAnother, kCaption);
            return;
        }
        if (const auto holder = HotkeyHolder(typed, MainWindow::Instance().ActiveHotkey(), m_list, m_index)) {
            winkit::ShowInformation(m_hwnd, HotkeyGivenText(typed, *holder, m_list), kCaption);
            return;
        }
        favourite.hotkey = FormatHotkey(typed);
    }
    // The list takes the favourite once this window is gone and its owner takes input again.
    const Done done = std::move(m_done);
    Destroy();
    if (done) done(favourite);
}

}  // namespace launcher
