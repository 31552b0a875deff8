#pragma once
// "Start automatically": the user's and the machine's Run values, and the
// way to administrator rights for the machine's.
#include <string>
#include <vector>

#include "Registry.h"

namespace launcher {

// The launcher's own path as the autostart entry names it: the program folder
// and the fixed file name, whatever name the program was started under.
std::wstring LauncherPath(const std::wstring& programFolder);

// The check mark of "Start automatically": a non-blank Run value of the user's
// or of the machine's.
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


// The message for a refused autostart change; the administrator advice only
// when the machine's value was refused for lack of rights.
std::wstring AutostartFailureText(bool wasChecked, const AutostartOutcome& outcome, const std::wstring& systemMessage);

}  // namespace launcher
