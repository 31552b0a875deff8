#include "FavouritesDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <utility>

#include "Decimal.h"
#include "Join.h"
#include "Sizing.h"
#include "SystemFunction.h"
#include "WindowSizing.h"
#include "DialogTables.h"
#include "Error.h"
#include "ExplorerLaunch.h"
#include "FavouriteCaptions.h"
#include "FavouriteDialog.h"
#include "FavouriteTexts.h"
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
using namespace favourites;

const wchar_t* Caption() { return Text(TextId::FavouritesCaption); }

// The window modes' captions and the hotkeys' notes whole, as far as the
// list has room; names and folders share the rest, the folder takes what is
// left over.
constexpr TextId kColumns[] = {TextId::ColumnName, TextId::ColumnFolder, TextId::ColumnWindow, TextId::ColumnHotkey};
static_assert(std::size(kColumns) == FavouritesDialog::kColumnCount);
constexpr bool kWholeColumn[] = {false, false, true, true};
constexpr std::size_t kSpareColumn = 1;
// Room the list leaves beside a cell's text, in twips (12 pixels at 96 DPI).
constexpr int kCellPaddingTwips = 180;

void SetCell(HWND list, int row, int column, const std::wstring& text) {
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
}

int TextWidth(HWND list, const std::wstring& text, UINT dpi) {
    return static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str()))) +
           winkit::TwipsToPixels(kCellPaddingTwips, static_cast<int>(dpi));
}

}  // namespace

FavouritesDialog& FavouritesDialog::Instance() {
    static FavouritesDialog dialog;
    return dialog;
}

void FavouritesDialog::Show(HWND owner, const std::wstring& mainMode) {
    if (IsOpen()) {
        SetForegroundWindow(GetLastActivePopup(m_hwnd));
        return;
    }
    m_mainMode = mainMode;
    winkit::RegisterCommonControls(ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES);
    if (!ShowModal({kClassName, IDI_TOLVANE, Caption(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                    WS_EX_DLGMODALFRAME, owner}))
        winkit::ShowInformation(owner, Text(TextId::FavouritesNotOpened), kLauncherCaption);
}

void FavouritesDialog::OnFailure() { winkit::ShowInformation(m_hwnd, Text(TextId::UnexpectedFailure), kLauncherCaption); }

HWND FavouritesDialog::List() const { return m_controls.Get(kList); }

void FavouritesDialog::OnCreate() {
    m_controls.Create(m_hwnd, kControls, std::size(kControls), CaptionText);
    winkit::SizeAndCentre(m_hwnd, kClientWidth, kClientHeight);
    HWND list = List();
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    AddCellTip();
    for (int column = 0; column < static_cast<int>(std::size(kColumns)); ++column) {
        LVCOLUMNW header{};
        header.mask = LVCF_TEXT | LVCF_SUBITEM;
        header.pszText = const_cast<wchar_t*>(Text(kColumns[column]));
        header.iSubItem = column;
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&header));
    }

    m_stored = ReadFavourites(registry::SystemBackend());
    m_entries = m_stored.entries;
    // What kept a hotkey from working at start, as long as the list is the one in use.
    const MainWindow& launcher = MainWindow::Instance();
    m_refused.assign(m_entries.size(), false);
    if (m_entries == launcher.Favourites().entries)
        for (std::size_t index = 0; index < m_entries.size(); ++index)
            m_refused[index] = launcher.FavouriteHotkeyRefused(index);
    const std::wstring note =
        m_stored.byPolicy ? std::wstring(Text(TextId::FavouritesByPolicy)) : LeftOutText(m_stored.leftOut);
    SetWindowTextW(m_controls.Get(kNote), note.c_str());
    // Nothing to store under a policy.
    if (m_stored.byPolicy) ShowWindow(m_controls.Get(kOkNote), SW_HIDE);
    // What a policy sets is shown, greyed: the administrator decides it.
    EnableWindow(list, !m_stored.byPolicy);
    ShowEntries(m_entries.empty() ? std::nullopt : std::optional<std::size_t>(0));
    SetFocusTo(m_stored.byPolicy ? m_controls.Get(kOkButton) : list);
}

// A tip of our own rather than the list's info tips, which only Windows
// shows: the list tells its parent nothing when the mouse moves to another
// row, so it is watched through a subclass, and the tip gets that row's text.
void FavouritesDialog::AddCellTip() {
    using SetWindowSubclassFn = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR);
    const auto subclass = winkit::LoadedFunction<SetWindowSubclassFn>(L"comctl32.dll", "SetWindowSubclass");
    HWND list = List();
    m_tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hwnd, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    m_tipRow = -1;
    if (m_tip == nullptr || subclass == nullptr || !subclass(list, &FavouritesDialog::ListProcedure, 1,
                                                             reinterpret_cast<DWORD_PTR>(this)))
        return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(list);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(m_tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // Lines, not one long line across the screen.
    SendMessageW(m_tip, TTM_SETMAXTIPWIDTH, 0, winkit::TwipsToPixels(9000, static_cast<int>(winkit::WindowDpi(m_hwnd))));
}

LRESULT CALLBACK FavouritesDialog::ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                                 DWORD_PTR data) {
    using DefSubclassProcFn = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);
    using RemoveWindowSubclassFn = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR);
    static const auto next = winkit::LoadedFunction<DefSubclassProcFn>(L"comctl32.dll", "DefSubclassProc");
    static const auto remove = winkit::LoadedFunction<RemoveWindowSubclassFn>(L"comctl32.dll", "RemoveWindowSubclass");
    if (message == WM_MOUSEMOVE) {
        try {
            reinterpret_cast<FavouritesDialog*>(data)->OnListMouseMove({static_cast<short>(LOWORD(lParam)),
                                                                         static_cast<short>(HIWORD(lParam))});
        } catch (...) {
            // Nothing may cross system code; the tip is worth no message.
        }
    } else if (message == WM_NCDESTROY && remove != nullptr) {
        remove(list, &FavouritesDialog::ListProcedure, id);
    }
    return next != nullptr ? next(list, message, wParam, lParam) : DefWindowProcW(list, message, wParam, lParam);
}

void FavouritesDialog::OnListMouseMove(POINT at) {
    LVHITTESTINFO hit{};
    hit.pt = at;
    const int row = static_cast<int>(SendMessageW(List(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (row == m_tipRow || m_tip == nullptr) return;
    m_tipRow = row;
    std::wstring text = row >= 0 ? CutCells(static_cast<std::size_t>(row)) : std::wstring();
    // An empty text shows no tip.
    if (text.empty()) SendMessageW(m_tip, TTM_POP, 0, 0);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = m_hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(List());
    tool.lpszText = text.data();
    SendMessageW(m_tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void FavouritesDialog::OnDpiChanged(UINT) { FitColumns(); }

void FavouritesDialog::FitColumns() {
    HWND list = List();
    if (list == nullptr) return;
    const UINT dpi = winkit::WindowDpi(m_hwnd);
    std::vector<winkit::ColumnNeed> needs;
    for (std::size_t column = 0; column < std::size(kColumns); ++column) {
        const int header = TextWidth(list, Text(kColumns[column]), dpi);
        int widest = header;
        for (std::size_t cell = column; cell < m_cells.size(); cell += kColumnCount)
            widest = std::max(widest, TextWidth(list, m_cells[cell], dpi));
        needs.push_back({widest, header, kWholeColumn[column]});
    }
    // Beside the vertical scroll bar, which the list shows or hides as it inserts and deletes rows.
    RECT client{};
    GetClientRect(list, &client);
    const std::vector<int> widths = winkit::FitColumns(needs, client.right - client.left, kSpareColumn);
    for (std::size_t column = 0; column < widths.size(); ++column)
        SendMessageW(list, LVM_SETCOLUMNWIDTH, column, widths[column]);
    // What is cut has changed: the tip asks again at the next move.
    m_tipRow = -1;
}

std::wstring FavouritesDialog::CutCells(std::size_t row) const {
    std::wstring tip;
    if ((row + 1) * kColumnCount > m_cells.size()) return tip;
    HWND list = List();
    const UINT dpi = winkit::WindowDpi(m_hwnd);
    for (std::size_t column = 0; column < std::size(kColumns); ++column) {
        const std::wstring& text = m_cells[row * kColumnCount + column];
        const int width = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
        if (text.empty() || TextWidth(list, text, dpi) <= width) continue;
        tip += winkit::Join({tip.empty() ? L"" : L"\n", Text(kColumns[column]), L": ", text});
    }
    return tip;
}

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
    m_cells.clear();
    for (std::size_t index = 0; index < m_entries.size(); ++index) {
        const Favourite& favourite = m_entries[index];
        const std::size_t first = m_cells.size();
        m_cells.push_back(DisplayedText(favourite.name));
        m_cells.push_back(DisplayedText(favourite.folder));
        m_cells.push_back(m_stored.byPolicy ? mainMode : ModeCaption(favourite.mode));
        m_cells.push_back(HotkeyColumnText(checks[index], m_refused[index]));
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(index);
        item.pszText = m_cells[first].data();
        const int row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        for (std::size_t column = 1; column < kColumnCount; ++column)
            SetCell(list, row, static_cast<int>(column), m_cells[first + column]);
    }
    FitColumns();
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
        shown.mode = NewFavouriteMode(m_mainMode);
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
    const std::wstring question =
        Format(TextId::RemoveQuestion, {Format(TextId::Quoted, {ShortName(m_entries[*selected], kMenuNameLength)})});
    if (ask && !winkit::AskYesNo(m_hwnd, question, Caption())) return;
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

bool FavouritesDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (AnswerHelp(m_hwnd, message, result)) return true;
    if (winkit::FollowWindowSize(m_hwnd, m_controls, {kClientWidth, kClientHeight}, message, wParam, lParam)) {
        if (message == WM_SIZE) FitColumns();
        result = 0;
        return true;
    }
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
                                Caption());
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
                                Caption());
        return;
    }
    registry::Backend& backend = registry::SystemBackend();
    const FavouritesSaveOutcome outcome = SaveFavourites(backend, m_entries);
    if (!outcome.notSaved.empty()) {
        // The stored list is the old one: so are the menu and the hotkeys.
        launcher.UseFavourites(launcher.Favourites());
        winkit::ShowInformation(
            m_hwnd, FavouritesSaveFailureText(outcome, m_entries, winkit::SystemMessage(outcome.firstError.code)),
            Caption());
        return;
    }
    launcher.UseFavourites(ReadFavourites(backend));
    // The new list is stored, but an old entry stayed beside it: said, and done.
    if (!outcome.Ok())
        winkit::ShowInformation(
            m_hwnd, FavouritesSaveFailureText(outcome, m_entries, winkit::SystemMessage(outcome.firstError.code)),
            Caption());
    Destroy();
}

}  // namespace launcher
