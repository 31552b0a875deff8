#include "MainWindow.h"

#include "AboutBox.h"
#include "Autostart.h"
#include "Error.h"
#include "FavouriteCaptions.h"
#include "HotkeyBox.h"
#include "ExplorerLaunch.h"
#include "LauncherTexts.h"
#include "LauncherWindow.h"
#include "Process.h"
#include "Registry.h"
#include "Settings.h"
#include "SystemFunction.h"
#include "SettingsDialog.h"
#include "Win32Elevation.h"
#include "Win32FolderProbe.h"
#include "resource.h"

#include <algorithm>
#include <utility>

namespace launcher {

namespace {

static_assert(kFirstPrivateMessage == WM_APP, "private messages above WM_APP");
constexpr UINT_PTR kCommandTimer = 1;

// A menu whose only item is the popup, as TrackPopupMenu wants it, in the
// language of the texts.
HMENU CreateTrayMenu() {
    HMENU bar = CreateMenu();
    HMENU popup = CreatePopupMenu();
    if (bar == nullptr || popup == nullptr || !AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"")) {
        if (popup != nullptr) DestroyMenu(popup);
        if (bar != nullptr) DestroyMenu(bar);
        return nullptr;
    }
    for (const MenuItem& item : kTrayMenuItems)
        AppendMenuW(popup, item.id == 0 ? MF_SEPARATOR : MF_STRING, item.id, item.id == 0 ? nullptr : Text(item.text));
    return bar;
}

}  // namespace

MainWindow& MainWindow::Instance() {
    static MainWindow window;
    return window;
}

bool MainWindow::Open() {
    if (!CreateTopLevel({kMainWindowClass, IDI_TOLVANE, kLauncherCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                         WS_EX_DLGMODALFRAME}))
        return false;
    m_menu.Reset(CreateTrayMenu());
    m_taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    m_tray.Add(m_hwnd, kTrayCallbackMessage);
    // For an installer's Restart Manager only, with no arguments (the tray
    // start). Not after a crash or a hang: Windows would start a resident
    // program again behind the user's back, in a loop where a setting makes
    // it fail; not after a reboot for an update: the Run value starts it at
    // logon, and a second start only shows a balloon.
    RegisterApplicationRestart(nullptr, RESTART_NO_CRASH | RESTART_NO_HANG | RESTART_NO_REBOOT);
    m_exePath = LauncherPath(winkit::ProgramFolder());
    SetAutostartMark(ReadAutostart(registry::SystemBackend()));
    // At logon nobody is waiting for a message box: one balloon says it all, once.
    std::wstring warning = UseStoredHotkey();
    const std::vector<HotkeyNotTaken> notTaken = UseFavourites(ReadFavourites(registry::SystemBackend()));
    const std::wstring favourites = FavouriteHotkeysNotTakenText(m_favourites.entries, notTaken);
    if (!favourites.empty()) warning += (warning.empty() ? L"" : L"\n") + favourites;
    if (!warning.empty()) ShowBalloon(warning, false);
    return true;
}

void MainWindow::OnFailure() { winkit::ShowInformation(nullptr, Text(TextId::UnexpectedFailure), kLauncherCaption); }

std::wstring MainWindow::UseStoredHotkey() {
    // Unreadable text counts as no hotkey; the Settings dialog says so.
    const auto hotkey = ParseHotkey(ReadSettings(registry::SystemBackend()).hotkey);
    if (!hotkey || hotkey->IsNone()) return std::wstring();
    // One the rule refuses counts as none: the user's, the machine's (the
    // MSI's HOTKEY among them) or a policy's.
    if (const HotkeyVerdict verdict = JudgeHotkeyHere(*hotkey); !verdict.Allowed())
        return StoredHotkeyRefusedText(*hotkey, verdict);
    return m_hotkey.Set(m_hwnd, *hotkey).Ok() ? std::wstring() : HotkeyTakenText(*hotkey);
}

winkit::Win32Result MainWindow::UseHotkey(const Hotkey& hotkey) {
    // After Exit the dialog may still be open; nothing listens for a hotkey then.
    if (!IsOpen()) return {};
    return m_hotkey.Set(m_hwnd, hotkey);
}

bool MainWindow::FavouriteHotkeyRefused(std::size_t index) const {
    return index < m_favouriteHotkeyRefused.size() && m_favouriteHotkeyRefused[index];
}

namespace {

std::vector<Hotkey> CombinationsToTake(const std::vector<FavouriteHotkey>& checks) {
    std::vector<Hotkey> combinations;
    for (const FavouriteHotkey& check : checks) combinations.push_back(check.ToTake());
    return combinations;
}

}  // namespace

std::optional<std::pair<std::size_t, winkit::Win32Result>> MainWindow::TakeFavouriteHotkeys(
    const std::vector<Favourite>& entries) {
    // After Exit the dialog may still be open; nothing listens for a hotkey then.
    if (!IsOpen()) return std::nullopt;
    const auto results =
        m_favouriteHotkeys.Set(m_hwnd, CombinationsToTake(CheckFavouriteHotkeys(entries, m_hotkey.Current())));
    for (std::size_t index = 0; index < results.size(); ++index) {
        if (results[index].Ok()) continue;
        UseFavourites(m_favourites);
        return std::make_pair(index, results[index]);
    }
    return std::nullopt;
}

std::vector<HotkeyNotTaken> MainWindow::UseFavourites(const FavouriteList& list) {
    m_favourites = list;
    const std::vector<FavouriteHotkey> checks = CheckFavouriteHotkeys(list.entries, m_hotkey.Current());
    std::vector<winkit::Win32Result> results(checks.size());
    if (IsOpen()) results = m_favouriteHotkeys.Set(m_hwnd, CombinationsToTake(checks));
    m_favouriteHotkeyRefused.assign(checks.size(), false);
    std::vector<HotkeyNotTaken> notTaken;
    for (std::size_t index = 0; index < checks.size(); ++index) {
        if (!checks[index].verdict.Allowed()) {
            notTaken.push_back({index, checks[index].combination, false, checks[index].verdict});
        } else if (checks[index].givenTwice) {
            notTaken.push_back({index, checks[index].combination, true, {}});
        } else if (!results[index].Ok()) {
            m_favouriteHotkeyRefused[index] = true;
            notTaken.push_back({index, checks[index].combination, false, {}});
        }
    }
    ShowFavouritesInMenu();
    return notTaken;
}

namespace {

// Blanks as wide as "1 " in the menu's font, so that the unnumbered
// favourites' names start where the numbered ones' do: the font's own
// blanks, measured, since its digits and spaces differ in width.
std::wstring UnnumberedIndent(HWND window) {
    using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto forDpi =
        winkit::LoadedFunction<SystemParametersInfoForDpiFn>(L"user32.dll", "SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    const BOOL found = forDpi != nullptr
                           ? forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, winkit::WindowDpi(window))
                           : SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    const winkit::UniqueScreenDc screen(GetDC(nullptr));
    if (!found || !screen) return L"  ";
    const winkit::UniqueFont font(CreateFontIndirectW(&metrics.lfMenuFont));
    const HGDIOBJ old = SelectObject(screen.Get(), font.Get());
    auto width = [&screen](const wchar_t* text, int length) {
        SIZE size{};
        return GetTextExtentPoint32W(screen.Get(), text, length, &size) ? static_cast<int>(size.cx) : 0;
    };
    int numbers = 0;
    for (wchar_t digit = L'0'; digit <= L'9'; ++digit) {
        const wchar_t prefix[] = {digit, L' '};
        numbers = std::max(numbers, width(prefix, 2));
    }
    // The space and the typographic ones (en space to hair space), where the font has them.
    std::vector<Blank> blanks;
    for (wchar_t ch : {L' ', L'\x2002', L'\x2003', L'\x2004', L'\x2005', L'\x2006', L'\x2007', L'\x2008', L'\x2009',
                       L'\x200A'}) {
        WORD glyph = 0xFFFF;
        if (GetGlyphIndicesW(screen.Get(), &ch, 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS) == 1 && glyph != 0xFFFF)
            blanks.push_back({ch, width(&ch, 1)});
    }
    SelectObject(screen.Get(), old);
    const std::wstring indent = BlanksOfWidth(numbers, blanks);
    return indent.empty() ? L"  " : indent;
}

}  // namespace

void MainWindow::ShowFavouritesInMenu() {
    HMENU popup = GetSubMenu(m_menu.Get(), 0);
    if (popup == nullptr) return;
    for (; m_favouriteMenuItems > 0; --m_favouriteMenuItems) DeleteMenu(popup, 0, MF_BYPOSITION);
    const std::vector<Favourite>& entries = m_favourites.entries;
    // "Open Explorer" with the main folder's keys, Win+E or none.
    std::wstring open(256, L'\0');
    open.resize(static_cast<std::size_t>(
        std::max(0, GetMenuStringW(popup, IDM_EXPLORER, open.data(), static_cast<int>(open.size()), MF_BYCOMMAND))));
    open = MenuCaptionWithKeys(open, m_hotkey.Current());
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STRING;
    item.dwTypeData = open.data();
    SetMenuItemInfoW(popup, IDM_EXPLORER, FALSE, &item);
    // With no favourites the menu stays as it always was: no separator either.
    if (entries.empty()) return;
    // Each with the keys that open it, when they work.
    const std::vector<FavouriteHotkey> checks = CheckFavouriteHotkeys(entries, m_hotkey.Current());
    const std::wstring indent = entries.size() > 10 ? UnnumberedIndent(m_hwnd) : std::wstring();
    for (std::size_t index = 0; index < entries.size(); ++index) {
        const Hotkey keys = FavouriteHotkeyRefused(index) ? Hotkey{} : checks[index].ToTake();
        InsertMenuW(popup, static_cast<UINT>(index), MF_BYPOSITION | MF_STRING,
                    static_cast<UINT_PTR>(FavouriteMenuId(index)),
                    FavouriteMenuCaption(index, entries[index], indent, keys).c_str());
    }
    InsertMenuW(popup, static_cast<UINT>(entries.size()), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    m_favouriteMenuItems = entries.size() + 1;
}

void MainWindow::OnDestroy() {
    m_favouriteHotkeys.Clear();
    m_hotkey.Clear();
    KillTimer(m_hwnd, kCommandTimer);
    m_tray.Remove();
    // A hidden About box would keep the program alive; an open Settings dialog does, on purpose.
    AboutBox::Instance().Close();
}

bool MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    if (m_taskbarCreated != 0 && message == m_taskbarCreated) {
        // Explorer restarted: its new taskbar knows no icons.
        m_tray.Add(m_hwnd, kTrayCallbackMessage);
        return true;
    }
    switch (message) {
    case kTrayCallbackMessage:
        OnTrayNotification(wParam, lParam);
        return true;
    case WM_TIMER:
        if (wParam == kCommandTimer) OnTimer();
        return true;
    case WM_HOTKEY:
        if (const auto command = CommandForHotkey(static_cast<int>(wParam)); command && !TypeIntoHotkeyBox(*command))
            Defer(*command);
        return true;
    case kWindowsKeyMessage:
        if (!HotkeyBox::TypeOwnCombination(Hotkey{kModWin, 'E'})) Defer(CommandForHotkey());
        return true;
    case WM_QUERYENDSESSION:
        // Nothing is lost by ending: the settings are saved when they are chosen.
        result = TRUE;
        return true;
    case WM_ENDSESSION:
        // An installer's Restart Manager closes this program alone
        // (ENDSESSION_CLOSEAPP) and waits for it to end, an open Settings
        // dialog included; at a logoff Windows ends it after this returns.
        if (wParam != FALSE && (lParam & ENDSESSION_CLOSEAPP) != 0) {
            Destroy();
            PostQuitMessage(0);
        }
        return true;
    case kAlreadyRunningMessage:
        ShowBalloon(Text(TextId::AlreadyRunning), true);
        return true;
    default:
        return false;
    }
}

bool MainWindow::TypeIntoHotkeyBox(const Command& command) {
    // Windows gives a registered combination to its program even while a
    // hotkey box of that program has the focus, where the user types it.
    if (command.kind == CommandKind::OpenExplorer) return HotkeyBox::TypeOwnCombination(m_hotkey.Current());
    const std::vector<Hotkey>& taken = m_favouriteHotkeys.Taken();
    return command.kind == CommandKind::OpenFavourite && command.favourite < taken.size() &&
           HotkeyBox::TypeOwnCombination(taken[command.favourite]);
}

void MainWindow::OnDpiChanged(UINT) { m_tray.Reload(); }

void MainWindow::OnTrayNotification(WPARAM wParam, LPARAM lParam) {
    const TrayEvent event = m_notifications.Classify(m_tray.Version4(), static_cast<std::uintptr_t>(lParam));
    switch (event.gesture) {
    case TrayGesture::OpenExplorer:
        // Enter may come twice for one key press; the deferral makes it one start.
        Defer(CommandForTrayClick());
        break;
    case TrayGesture::ShowMenu: {
        // The keyboard gives the icon's position; the mouse is where the user clicked.
        POINT at{};
        if (event.fromKeyboard)
            at = {static_cast<short>(LOWORD(wParam)), static_cast<short>(HIWORD(wParam))};
        else
            GetCursorPos(&at);
        if (const auto command = ShowTrayMenu(at, event.fromKeyboard)) Defer(*command);
        break;
    }
    case TrayGesture::BalloonClicked:
        if (std::exchange(m_balloonOpensFolder, false)) Defer(CommandForTrayClick());
        break;
    case TrayGesture::BalloonGone:
        m_balloonOpensFolder = false;
        break;
    case TrayGesture::None:
        break;
    }
}

std::optional<Command> MainWindow::ShowTrayMenu(POINT at, bool fromKeyboard) {
    HMENU popup = GetSubMenu(m_menu.Get(), 0);
    if (popup == nullptr) return std::nullopt;
    // Someone else (Setup, another launcher) may have changed the entry since.
    SetAutostartMark(ReadAutostart(registry::SystemBackend()));
    // The keys as they are now (a hotkey saved in Settings since, the menu font at this DPI).
    ShowFavouritesInMenu();
    SetMenuDefaultItem(popup, IDM_EXPLORER, FALSE);
    // Without the foreground window the menu would not close when the user
    // clicks elsewhere (the long-standing tray menu quirk), and without the
    // message posted after it a second right click could open nothing.
    SetForegroundWindow(m_hwnd);
    // Right-to-left and tablet setups drop menus to the left of the point.
    const UINT align = GetSystemMetrics(SM_MENUDROPALIGNMENT) != 0 ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    const int chosen = static_cast<int>(TrackPopupMenu(popup, align | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                                       at.x, at.y, 0, m_hwnd, nullptr));
    PostMessageW(m_hwnd, WM_NULL, 0, 0);
    if (chosen == 0 && fromKeyboard) m_tray.ReturnFocus();
    return CommandForMenuItem(chosen);
}

// Every command runs on the next tick, after the menu or the notification
// has returned; one chosen before the tick replaces the one waiting.
void MainWindow::Defer(Command command) {
    m_pending.Set(command);
    SetTimer(m_hwnd, kCommandTimer, kCommandDelayMs, nullptr);
}

void MainWindow::OnTimer() {
    KillTimer(m_hwnd, kCommandTimer);
    if (const auto command = m_pending.Take()) Run(*command);
}

void MainWindow::Run(Command command) {
    switch (command.kind) {
    case CommandKind::SwitchAutostart:
        SwitchAutostart();
        break;
    case CommandKind::ShowAbout:
        AboutBox::Instance().Show();
        break;
    case CommandKind::ShowSettings:
        SettingsDialog::Instance().Show();
        break;
    case CommandKind::Exit:
        Destroy();
        break;
    case CommandKind::OpenExplorer:
        OpenExplorer(ReadLaunchSettings(registry::SystemBackend()));
        break;
    case CommandKind::OpenFavourite:
        OpenFavourite(command.favourite);
        break;
    }
}

void MainWindow::ShowBalloon(const std::wstring& text, bool opensFolder) {
    m_balloonOpensFolder = opensFolder;
    m_tray.ShowBalloon(kLauncherCaption, text, !opensFolder);
}

void MainWindow::SetAutostartMark(bool checked) {
    m_autostartChecked = checked;
    CheckMenuItem(m_menu.Get(), IDM_AUTOSTART, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MainWindow::SwitchAutostart() {
    // The question and the wait for the elevated copy keep messages flowing:
    // a second switch chosen meanwhile would act on a state about to change.
    if (m_switchingAutostart) return;
    m_switchingAutostart = true;
    const winkit::ScopeExit done{[this] { m_switchingAutostart = false; }};
    const bool wasChecked = m_autostartChecked;
    Win32Elevation elevation(m_hwnd);
    const AutostartOutcome outcome = ToggleAutostart(registry::SystemBackend(), elevation, wasChecked, m_exePath);
    SetAutostartMark(outcome.checked);
    if (!outcome.status.Ok()) {
        winkit::ShowInformation(
            nullptr, AutostartFailureText(wasChecked, outcome, winkit::SystemMessage(outcome.status.code)),
            kLauncherCaption);
    }
}

void MainWindow::OpenFavourite(std::size_t index) {
    // A list stored meanwhile may be shorter than the menu it was chosen from.
    if (index >= m_favourites.entries.size()) return;
    OpenExplorer(FavouriteLaunchSettings(m_favourites, index, ReadLaunchSettings(registry::SystemBackend())),
                 &m_favourites.entries[index]);
}

void MainWindow::OpenExplorer(const LaunchSettings& settings, const Favourite* favourite) {
    Win32FolderProbe probe;
    const ExplorerLaunch launch = PlanExplorerLaunch(settings, probe);
    if (launch.problem != FolderProblem::None) {
        const std::wstring text = favourite != nullptr
                                      ? FavouriteFolderProblemText(launch, *favourite, m_favourites.byPolicy)
                                      : FolderProblemText(launch);
        winkit::ShowInformation(nullptr, text, kLauncherCaption);
        return;
    }
    const winkit::Win32Result started =
        winkit::StartProgram(winkit::WindowsFolder() + L"\\explorer.exe", launch.commandLine, launch.showState);
    if (!started.Ok())
        winkit::ShowInformation(nullptr,
                                Format(TextId::ExplorerNotStarted, {winkit::WindowsFolder() + L"\\explorer.exe",
                                                                    winkit::SystemMessage(started.code)}),
                                kLauncherCaption);
}

}  // namespace launcher
