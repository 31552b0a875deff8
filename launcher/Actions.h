#pragma once
// What the launcher does, apart from the windows it does it in.
#include <cstdint>
#include <optional>
#include <string>

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

inline constexpr unsigned kTrayCallbackMessage = 1025;
inline constexpr long kMouseLeftButtonUp = 514;
inline constexpr long kMouseRightButtonUp = 517;
inline constexpr unsigned kTimerIntervalMs = 100;

enum class TrayResponse { Ignore, DeferExplorer, ShowMenu };

// Which notifications of the tray icon do anything.
TrayResponse ClassifyTrayNotification(unsigned message, std::intptr_t lParam);

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

struct ExplorerLaunch {
    std::wstring commandLine;
    int showState;
};
ExplorerLaunch PlanExplorerLaunch(registry::Backend& backend);

// The launcher's own path as the autostart entry names it: the program folder
// and the fixed file name, whatever name the program was started under.
std::wstring LauncherPath(const std::wstring& programFolder);

// The check mark of "Start automatically": any non-blank Run value.
bool IsAutostartText(const std::optional<std::wstring>& runValue);
bool ReadAutostart(registry::Backend& backend);

struct AutostartOutcome {
    bool checked;            // the real state after the attempt
    registry::Status status; // why it was refused, if it was
};
// Switches the Run value the other way and reports the state it really has now.
AutostartOutcome ToggleAutostart(registry::Backend& backend, bool checked, const std::wstring& launcherPath);

// The message for a refused autostart change.
std::wstring AutostartFailureText(bool wasChecked, long error, const std::wstring& systemMessage);

}  // namespace launcher
