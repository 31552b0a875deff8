#include "FavouriteDialog.h"

#include <commctrl.h>

#include <iterator>

#include "DialogTables.h"
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
using namespace favourite;

const wchar_t* Caption() { return Text(TextId::FavouriteCaption); }

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
    if (!ShowModal({kClassName, IDI_TOLVANE, Caption(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME,
                    owner}))
        winkit::ShowInformation(owner, Text(TextId::FavouriteNotOpened), kLauncherCaption);
}

void FavouriteDialog::OnFailure() { winkit::ShowInformation(m_hwnd, Text(TextId::UnexpectedFailure), kLauncherCaption); }

void FavouriteDialog::OnCreate() {
    m_controls.Create(m_hwnd, kControls, std::size(kControls), CaptionText);
    winkit::SizeAndCentre(m_hwnd, kClientWidth, kClientHeight);
    SetWindowTextW(m_controls.Get(kNameEdit), m_favourite.name.c_str());
    SetWindowTextW(m_controls.Get(kFolderEdit), m_favourite.folder.c_str());
    if (const auto option = OptionForMode(m_favourite.mode))
        m_controls.SelectOption(m_controls.Get(kFirstModeOption + *option));
    m_controls.UpdateOptionTabStops();
    auto hotkey = ParseHotkey(m_favourite.hotkey);
    std::wstring note = Text(hotkey ? TextId::HeldCombinationNote : TextId::UnreadableHotkeyNote);
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
    ShowHotkeyNote(m_controls.Get(kHotkeyNote), note.empty() ? Text(TextId::HeldCombinationNote) : note);
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
        winkit::ShowInformation(m_hwnd, Text(noName ? TextId::NoName : TextId::NoFolder),
                                Caption());
        SetFocusTo(m_controls.Get(noName ? kNameEdit : kFolderEdit));
        return;
    }
    favourite.mode = ModeForOptions(m_controls.CheckedOptions<kModeOptionCount>(kFirstModeOption));
    // A combination the box cannot show (unreadable text, one with the
    // Windows key) stays as stored unless another is typed.
    if (m_box.Changed()) {
        const Hotkey typed = m_box.Held();
        if (const std::wstring refusal = m_box.Refusal(); !refusal.empty()) {
            winkit::ShowInformation(m_hwnd, Format(TextId::ChooseAnother, {refusal}), Caption());
            return;
        }
        if (const auto holder = HotkeyHolder(typed, MainWindow::Instance().ActiveHotkey(), m_list, m_index)) {
            winkit::ShowInformation(m_hwnd, HotkeyGivenText(typed, *holder, m_list), Caption());
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
