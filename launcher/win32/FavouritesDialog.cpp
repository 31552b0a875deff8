#include "FavouritesDialog.h"

#include <commctrl.h>

#include <iterator>
#include <utility>

#include "Decimal.h"
#include "Error.h"
#include "ExplorerLaunch.h"
#include "FavouriteDialog.h"
#include "HelpKey.h"
#include "LauncherTexts.h"
#include "MainWindow.h"
#include "Registry.h"
#include "RegistryLayout.h"
#include "WindowModes.h"
#include "resource.h"

namespace launcher {

namespace {

constexpr wchar_t kClassName[] = L"Tolvane.FavouritesDialog";
constexpr wchar_t kCaption[] = L"Favourite folders";
constexpr int kClientWidth = 7800;
constexpr int kClientHeight = 4575;

enum ControlId {
    kListLabel = 4001,
    kList,
    kAddButton,
    kEditButton,
    kRemoveButton,
    kUpButton,
    kDownButton,
    kNote,
    kOkButton,
    kCancelButton,
};

using winkit::ButtonRole;
using winkit::ControlKind;
using winkit::kInWindow;
const winkit::ControlSpec kControls[] = {
    // kind, id, caption, container, left, top, width, height, tab index
    {ControlKind::Label, kListLabel, L"&Favourite folders:", kInWindow, 120, 120, 3000, 255, 0},
    {ControlKind::ListView, kList, L"", kInWindow, 120, 375, 6240, 3000, 1},
    {ControlKind::Button, kAddButton, L"&Add...", kInWindow, 6480, 375, 1200, 375, 2},
    {ControlKind::Button, kEditButton, L"&Edit...", kInWindow, 6480, 825, 1200, 375, 3},
    {ControlKind::Button, kRemoveButton, L"&Remove", kInWindow, 6480, 1275, 1200, 375, 4},
    {ControlKind::Button, kUpButton, L"Move &up", kInWindow, 6480, 1875, 1200, 375, 5},
    {ControlKind::Button, kDownButton, L"Move &down", kInWindow, 6480, 2325, 1200, 375, 6},
    {ControlKind::Label, kNote, L"", kInWindow, 120, 3495, 6240, 480, 7},
    {ControlKind::Button, kOkButton, L"&OK", kInWindow, 5160, 4080, 1200, 375, 8, ButtonRole::Default},
    {ControlKind::Button, kCancelButton, L"&Cancel", kInWindow, 6480, 4080, 1200, 375, 9, ButtonRole::Cancel},
};

struct Column {
    const wchar_t* caption;
    int widthTwips;
};
// The window modes' captions whole, the names and folders as far as they go.
constexpr Column kColumns[] = {{L"Name", 1125}, {L"Folder", 1725}, {L"Window", 2340}, {L"Hotkey", 975}};

void SetColumnWidths(HWND list, UINT dpi) {
    for (int column = 0; column < static_cast<int>(std::size(kColumns)); ++column)
        SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                     winkit::TwipsToPixels(kColumns[column].widthTwips, static_cast<int>(dpi)));
}

void SetCell(HWND list, int row, int column, const std::wstring& text) {
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
}

}  // namespace

FavouritesDialog& FavouritesDialog::Instance() {
    static FavouritesDialog dialog;
    return dialog;
}

void FavouritesDialog::Show(HWND owner) {
    if (IsOpen()) {
        SetForegroundWindow(GetLastActivePopup(m_hwnd));
        return;
    }
    winkit::RegisterCommonControls(ICC_LISTVIEW_CLASSES);
    if (!ShowModal({kClassName, IDI_TOLVANE, kCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME,
                    owner}))
        winkit::ShowInformation(owner, L"Tolvane could not open its Favourite folders window.", kLauncherCaption);
}

void FavouritesDialog::OnFailure() { winkit::ShowInformation(m_hwnd, kUnexpectedFailure, kLauncherCaption); }

HWND FavouritesDialog::List() const { return m_controls.Get(kList); }

void FavouritesDialog::OnCreate() {
    m_controls.Create(m_hwnd, kControls, std::size(kControls));
    winkit::SizeAndCentre(m_hwnd, kClientWidth, kClientHeight);
    HWND list = List();
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (int column = 0; column < static_cast<int>(std::size(kColumns)); ++column) {
        LVCOLUMNW header{};
        header.mask = LVCF_TEXT | LVCF_SUBITEM;
        header.pszText = const_cast<wchar_t*>(kColumns[column].caption);
        header.iSubItem = column;
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&header));
    }
    SetColumnWidths(list, winkit::WindowDpi(m_hwnd));

    m_stored = ReadFavourites(registry::SystemBackend());
    m_entries = m_stored.entries;
    // What kept a hotkey from working at start, as long as the list is the one in use.
    const MainWindow& launcher = MainWindow::Instance();
    m_refused.assign(m_entries.size(), false);
    if (m_entries == launcher.Favourites().entries)
        for (std::size_t index = 0; index < m_entries.size(); ++index)
            m_refused[index] = launcher.FavouriteHotkeyRefused(index);
    std::wstring note;
    if (m_stored.byPolicy)
        note = L"Your administrator has set these favourites.";
    else if (m_stored.leftOut > 0)
        note = L"Only the first " + winkit::Decimal(kMaxFavourites) + L" favourites are used; " +
               winkit::Decimal(m_stored.leftOut) + L" more are stored. OK keeps the first " +
               winkit::Decimal(kMaxFavourites) + L".";
    SetWindowTextW(m_controls.Get(kNote), note.c_str());
    // What a policy sets is shown, greyed: the administrator decides it.
    EnableWindow(list, !m_stored.byPolicy);
    ShowEntries(m_entries.empty() ? std::nullopt : std::optional<std::size_t>(0));
    SetFocusTo(m_stored.byPolicy ? m_controls.Get(kOkButton) : list);
}

void FavouritesDialog::OnDpiChanged(UINT dpi) { SetColumnWidths(List(), dpi); }

std::optional<std::size_t> FavouritesDialog::Selected() const {
    const LRESULT row = SendMessageW(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    if (row < 0 || static_cast<std::size_t>(row) >= m_entries.size()) return std::nullopt;
    return static_cast<std::size_t>(row);
}

void FavouritesDialog::ShowEntries(std::optional<std::size_t> select) {
    HWND list = List();
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    const std::vector<FavouriteHotkey> checks =
        CheckFavouriteHotkeys(m_entries, MainWindow::Instance().ActiveHotkey());
    // A policy's favourites open in the main folder's window mode.
    const std::wstring mainMode = ModeCaption(ReadLaunchSettings(registry::SystemBackend()).mode);
    for (std::size_t index = 0; index < m_entries.size(); ++index) {
        const Favourite& favourite = m_entries[index];
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(index);
        std::wstring name = DisplayedText(favourite.name);
        item.pszText = name.data();
        const int row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        SetCell(list, row, 1, DisplayedText(favourite.folder));
        SetCell(list, row, 2, m_stored.byPolicy ? mainMode : ModeCaption(favourite.mode));
        SetCell(list, row, 3, HotkeyColumnText(checks[index], m_refused[index]));
    }
    if (select && *select < m_entries.size()) {
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, *select, reinterpret_cast<LPARAM>(&state));
        SendMessageW(list, LVM_ENSUREVISIBLE, *select, FALSE);
    }
    UpdateButtons();
}

void FavouritesDialog::UpdateButtons() {
    const auto selected = Selected();
    const bool editable = !m_stored.byPolicy;
    const std::pair<int, bool> buttons[] = {
        {kAddButton, editable && m_entries.size() < kMaxFavourites},
        {kEditButton, editable && selected},
        {kRemoveButton, editable && selected},
        {kUpButton, editable && selected && *selected > 0},
        {kDownButton, editable && selected && *selected + 1 < m_entries.size()},
    };
    HWND focus = GetFocus();
    for (const auto& [id, enable] : buttons) EnableWindow(m_controls.Get(id), enable);
    // A button greyed under the keyboard's focus would leave the focus nowhere.
    if (focus != nullptr && IsChild(m_hwnd, focus) && !IsWindowEnabled(focus))
        SetFocusTo(editable ? List() : m_controls.Get(kOkButton));
}

void FavouritesDialog::OpenEntry(std::size_t index) {
    if (m_stored.byPolicy || index > m_entries.size() || (index == m_entries.size() && index >= kMaxFavourites))
        return;
    Favourite shown;
    if (index < m_entries.size()) {
        shown = m_entries[index];
    } else {
        // A new favourite opens as the main folder does, until the user says otherwise.
        shown.mode = ReadLaunchSettings(registry::SystemBackend()).mode;
        if (!OptionForMode(shown.mode)) shown.mode = registry::kDefaultMode;
    }
    FavouriteDialog::Instance().Show(m_hwnd, m_entries, index, shown, [this, index](const Favourite& favourite) {
        if (!IsOpen()) return;
        if (index == m_entries.size()) {
            m_entries.push_back(favourite);
            m_refused.push_back(false);
        } else {
            if (favourite.hotkey != m_entries[index].hotkey) m_refused[index] = false;
            m_entries[index] = favourite;
        }
        ShowEntries(index);
    });
}

void FavouritesDialog::Remove(bool ask) {
    const auto selected = Selected();
    if (m_stored.byPolicy || !selected) return;
    const std::wstring question = L"Remove the favourite \"" + ShortName(m_entries[*selected], kMenuNameLength) +
                                  L"\" from the list?";
    if (ask && !winkit::AskYesNo(m_hwnd, question, kCaption)) return;
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(*selected));
    m_refused.erase(m_refused.begin() + static_cast<std::ptrdiff_t>(*selected));
    ShowEntries(m_entries.empty() ? std::nullopt
                                  : std::optional<std::size_t>(std::min(*selected, m_entries.size() - 1)));
}

void FavouritesDialog::Move(bool up) {
    const auto selected = Selected();
    if (m_stored.byPolicy || !selected || (up && *selected == 0) || (!up && *selected + 1 >= m_entries.size()))
        return;
    const std::size_t other = up ? *selected - 1 : *selected + 1;
    std::swap(m_entries[*selected], m_entries[other]);
    std::vector<bool>::swap(m_refused[*selected], m_refused[other]);
    ShowEntries(other);
}

void FavouritesDialog::OnCommand(int id, int code, HWND control) {
    if (code != BN_CLICKED || control == nullptr) return;
    switch (id) {
    case kAddButton:
        OpenEntry(m_entries.size());
        break;
    case kEditButton:
        if (const auto selected = Selected()) OpenEntry(*selected);
        break;
    case kRemoveButton:
        Remove(false);
        break;
    case kUpButton:
    case kDownButton:
        Move(id == kUpButton);
        break;
    case kOkButton:
        OnOk();
        break;
    case kCancelButton:
        Destroy();
        break;
    default:
        break;
    }
}

bool FavouritesDialog::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (AnswerHelp(m_hwnd, message, result)) return true;
    if (message != WM_NOTIFY) return false;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom != kList) return false;
    result = 0;
    if (header->code == LVN_ITEMCHANGED) {
        UpdateButtons();
    } else if (header->code == NM_DBLCLK) {
        if (const auto selected = Selected()) OpenEntry(*selected);
    } else if (header->code == LVN_KEYDOWN && reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey == VK_DELETE) {
        Remove(true);
    }
    return true;
}

void FavouritesDialog::OnOk() {
    if (m_stored.byPolicy || (m_entries == m_stored.entries && m_stored.leftOut == 0)) {
        Destroy();
        return;
    }
    MainWindow& launcher = MainWindow::Instance();
    const std::vector<FavouriteHotkey> checks = CheckFavouriteHotkeys(m_entries, launcher.ActiveHotkey());
    for (std::size_t index = 0; index < checks.size(); ++index) {
        if (!checks[index].givenTwice) continue;
        ShowEntries(index);
        winkit::ShowInformation(m_hwnd, HotkeyGivenText(checks[index].combination, *checks[index].givenTwice, m_entries),
                                kCaption);
        return;
    }
    // Taken before anything is stored, so that a combination another program
    // holds is refused with the dialog still open.
    if (const auto refused = launcher.TakeFavouriteHotkeys(m_entries)) {
        const std::size_t index = refused->first;
        m_refused[index] = true;
        ShowEntries(index);
        winkit::ShowInformation(m_hwnd,
                                FavouriteHotkeyTakenText(m_entries[index], checks[index].combination,
                                                         winkit::SystemMessage(refused->second.code)),
                                kCaption);
        return;
    }
    registry::Backend& backend = registry::SystemBackend();
    const FavouritesSaveOutcome outcome = SaveFavourites(backend, m_entries);
    if (!outcome.notSaved.empty()) {
        // The stored list is the old one: so are the menu and the hotkeys.
        launcher.UseFavourites(launcher.Favourites());
        winkit::ShowInformation(
            m_hwnd, FavouritesSaveFailureText(outcome, m_entries, winkit::SystemMessage(outcome.firstError.code)),
            kCaption);
        return;
    }
    launcher.UseFavourites(ReadFavourites(backend));
    // The new list is stored, but an old entry stayed beside it: said, and done.
    if (!outcome.Ok())
        winkit::ShowInformation(
            m_hwnd, FavouritesSaveFailureText(outcome, m_entries, winkit::SystemMessage(outcome.firstError.code)),
            kCaption);
    Destroy();
}

}  // namespace launcher
