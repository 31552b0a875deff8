#pragma once
// What the launcher does, apart from the windows it does it in.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Registry.h"

namespace launcher {

// Action codes: the popup menu's item indices, plus the idle code.
enum ActionCode : std::int16_t {
    kActionAutostart = 0,
    kActionAbout = 1,
    kActionSettings = 2,
    kActionExit = 3,
    kActionSeparator = 4,
    kActionExplorer = 5,
    kActionIdle = 11,
};

// The tray icon: id, tip and the window message its notifications come with
// (above WM_APP: WM_USER + 1 would be DM_SETDEFID to a dialog manager).
inline constexpr unsigned kTrayIconId = 125;
inline constexpr wchar_t kTrayTip[] = L"Tolvane";
inline constexpr unsigned kTrayCallbackMessage = 0x8000 + 1;
// What the Win+E keyboard hook posts the main window.
inline constexpr unsigned kWindowsKeyMessage = 0x8000 + 2;

// Notifications in the low word of the callback's lParam (the Win32 values).
inline constexpr unsigned kTrayLeftButtonUp = 0x0202;
inline constexpr unsigned kTrayRightButtonUp = 0x0205;
inline constexpr unsigned kTrayContextMenu = 0x007B;
inline constexpr unsigned kTraySelect = 0x0400;
inline constexpr unsigned kTrayKeySelect = 0x0401;

inline constexpr unsigned kTimerIntervalMs = 100;

enum class TrayGesture { None, OpenExplorer, ShowMenu };
struct TrayEvent {
    TrayGesture gesture = TrayGesture::None;
    bool fromKeyboard = false;
};

// What the icon's notifications mean. A version-4 icon reports a mouse click
// as the button messages followed by NIN_SELECT or WM_CONTEXTMENU, and the
// keyboard as NIN_KEYSELECT or WM_CONTEXTMENU alone; only those act, so each
// gesture acts once. Older shells send the button messages only.
class TrayNotifications {
public:
    TrayEvent Classify(bool version4, std::uintptr_t lParam);

private:
    bool m_rightButtonUp = false;  // the WM_CONTEXTMENU that follows comes from the mouse
};

// The pending action and the one-shot timer that runs it once menus and
// notifications have returned.
class PendingActions {
public:
    void Trigger(std::int16_t code) {
        m_pending = code;
        m_timerEnabled = true;
    }
    // A timer tick: switches the timer off and yields the code to run. The code
    // stays as it was; only the next trigger overwrites it.
    std::int16_t Tick() {
        m_timerEnabled = false;
        return m_pending;
    }
    std::int16_t Pending() const { return m_pending; }
    bool TimerEnabled() const { return m_timerEnabled; }

private:
    std::int16_t m_pending = kActionIdle;
    bool m_timerEnabled = true;  // the timer starts enabled and finds the idle code
};

// The action a command of the tray menu stands for.
std::optional<ActionCode> ActionForCommand(int commandId);

// Show state for a window-mode name, compared exactly; nothing for other texts.
std::optional<int> ShowStateForMode(const std::wstring& mode);

// Unknown modes fall back to a normal, activated window rather than a hidden one.
inline constexpr int kFallbackShowState = 1;
int ExplorerShowState(const std::wstring& mode);

inline constexpr wchar_t kExplorerCommandStart[] = L"explorer.exe /e,";

// "explorer.exe /e," and the folder in quotes, so that a comma in a folder name
// is not taken for the next Explorer switch. Quote characters in the stored
// text are dropped: no Windows folder name holds one.
std::wstring ExplorerCommandLine(const std::wstring& folder);

// What the launcher asks the system about the folder it is to open.
class FolderProbe {
public:
    virtual ~FolderProbe() = default;
    // %VARIABLE% names replaced; an undefined one stays as written.
    virtual std::wstring ExpandVariables(const std::wstring& text) = 0;
    virtual bool IsNetworkDrive(wchar_t driveLetter) = 0;
    // Nothing is there, or a file is; not a folder that may not be looked at.
    virtual bool IsMissingFolder(const std::wstring& path) = 0;
};

// A path on a drive of its own letter ("C:\x", "d:"); not "\\server\share",
// not a relative or a shell name.
bool IsDriveLetterPath(const std::wstring& text);

struct ExplorerLaunch {
    std::wstring commandLine;
    int showState;
    std::wstring folder;         // as expanded
    bool folderMissing = false;  // a local folder that is not there: start nothing
};
// Only local drives are checked: a lost server would hold up the click.
ExplorerLaunch PlanExplorerLaunch(registry::Backend& backend, FolderProbe& probe);

std::wstring MissingFolderText(const std::wstring& folder);

// The launcher's own path as the autostart entry names it: the program folder
// and the fixed file name, whatever name the program was started under.
std::wstring LauncherPath(const std::wstring& programFolder);

// The check mark of "Start automatically": a non-blank Run value of the user's
// or of the machine's.
bool IsAutostartText(const std::optional<std::wstring>& runValue);
bool ReadAutostart(registry::Backend& backend);

// The one argument that makes the launcher the elevated helper which removes
// the machine's Run value; it shows nothing and exits with the Win32 result.
inline constexpr wchar_t kRemoveMachineAutostartArgument[] = L"/remove-machine-autostart";

enum class StartMode { Tray, RemoveMachineAutostart, Refused };
// The arguments after the program's name.
StartMode StartModeFor(const std::vector<std::wstring>& arguments);

// Removes the machine's Run value; kErrorSuccess also when it was not there.
long RemoveMachineAutostart(registry::Backend& backend);

// Administrator rights and the way to them, apart from UAC itself.
class Elevation {
public:
    virtual ~Elevation() = default;
    virtual bool IsElevated() = 0;
    // Asks whether Tolvane should stop starting automatically for all users,
    // on a button with the shield; true for yes.
    virtual bool ConfirmRemovalForAllUsers() = 0;
    // Runs this program elevated with kRemoveMachineAutostartArgument and
    // waits: its exit code, or why it did not run (kErrorCancelled when the
    // user declined the prompt).
    virtual long RunElevatedRemoval() = 0;
};

struct AutostartOutcome {
    bool checked;                 // the real state after the attempt
    registry::Status status;      // why it was refused, if it was
    bool allUsers = false;        // the refused change was the machine's value
};
// Switching on writes the user's Run value. Switching off removes the
// machine's value first when it starts Tolvane too (directly when elevated,
// else through the prompt and an elevated copy), then the user's: a declined
// or failed removal for all users leaves both as they were.
AutostartOutcome ToggleAutostart(registry::Backend& backend, Elevation& elevation, bool checked,
                                 const std::wstring& launcherPath);

inline constexpr wchar_t kLauncherCaption[] = L"Tolvane";
inline constexpr wchar_t kUnexpectedFailure[] =
    L"Tolvane could not complete the action: it ran out of memory or met an unexpected error.";

inline constexpr wchar_t kAllUsersQuestion[] = L"Stop starting Tolvane automatically for all users of this computer?";
inline constexpr wchar_t kAllUsersExplanation[] =
    L"Tolvane is set to start at every user's logon on this computer. Only an administrator can change that.";

// The message for a refused autostart change; the administrator advice only
// when the machine's value was refused for lack of rights.
std::wstring AutostartFailureText(bool wasChecked, const AutostartOutcome& outcome, const std::wstring& systemMessage);

}  // namespace launcher
