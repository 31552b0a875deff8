#include "Autostart.h"

#include <optional>

#include "CommandLine.h"
#include "Join.h"
#include "LauncherTexts.h"
#include "RegistryLayout.h"
#include "Text.h"

namespace launcher {

namespace {

bool IsAutostartText(const std::optional<std::wstring>& runValue) {
    // Only spaces count as blank in a Run value, not tabs (unlike the settings).
    return runValue && !winkit::IsBlank(*runValue, L" ");
}

}  // namespace

std::wstring LauncherPath(const std::wstring& programFolder) {
    std::wstring path = programFolder;
    if (path.empty() || path.back() != L'\\') path += L'\\';
    return path + L"Tolvane.exe";
}

bool ReadAutostart(registry::Backend& backend) {
    using namespace registry;
    return IsAutostartText(GetString(backend, Root::CurrentUser, kRunKey, kRunValue)) ||
           IsAutostartText(GetString(backend, Root::LocalMachine, kRunKey, kRunValue));
}

StartMode StartModeFor(const std::vector<std::wstring>& arguments) {
    if (arguments.empty()) return StartMode::Tray;
    if (arguments.size() == 1 && arguments[0] == kRemoveMachineAutostartArgument)
        return StartMode::RemoveMachineAutostart;
    return StartMode::Refused;
}

namespace {

// Already gone is what was asked for.
registry::Status RemoveRunValue(registry::Backend& backend, registry::Root root) {
    registry::Status status = registry::DeleteValue(backend, root, registry::kRunKey, registry::kRunValue);
    if (status.code == winkit::kErrorFileNotFound) status = {};
    return status;
}

// The machine's value is removed (or was never in the way); false with the
// reason when it is still there.
bool RemoveForAllUsers(registry::Backend& backend, Elevation& elevation, AutostartOutcome& outcome) {
    using namespace registry;
    if (!IsAutostartText(GetString(backend, Root::LocalMachine, kRunKey, kRunValue))) return true;
    outcome.allUsers = true;
    if (elevation.IsElevated()) {
        outcome.status = RemoveRunValue(backend, Root::LocalMachine);
        return outcome.status.Ok();
    }
    if (!elevation.ConfirmRemovalForAllUsers()) return false;
    const long result = elevation.RunElevatedRemoval();
    if (result != winkit::kErrorSuccess && result != winkit::kErrorCancelled)
        outcome.status = Status::Failure(result, winkit::Join({L"Removing HKEY_LOCAL_MACHINE\\", kRunKey}));
    return result == winkit::kErrorSuccess;
}

}  // namespace

long RemoveMachineAutostart(registry::Backend& backend) {
    return RemoveRunValue(backend, registry::Root::LocalMachine).code;
}

AutostartOutcome ToggleAutostart(registry::Backend& backend, Elevation& elevation, bool checked,
                                 const std::wstring& launcherPath) {
    using namespace registry;
    AutostartOutcome outcome{false, {}};
    if (!checked)
        outcome.status = SaveString(backend, Root::CurrentUser, kRunKey, kRunValue,
                                    winkit::QuoteProgramPath(launcherPath));
    else if (RemoveForAllUsers(backend, elevation, outcome))
        outcome.status = RemoveRunValue(backend, Root::CurrentUser);
    outcome.checked = ReadAutostart(backend);
    return outcome;
}

std::wstring AutostartFailureText(bool wasChecked, const AutostartOutcome& outcome, const std::wstring& systemMessage) {
    const bool needsRights = outcome.allUsers && outcome.status.code == winkit::kErrorAccessDenied;
    const std::wstring failure =
        Format(wasChecked ? TextId::AutostartNotRemoved : TextId::AutostartNotAdded, {systemMessage});
    return needsRights ? winkit::Join({failure, L"\n\n", Text(TextId::AdministratorAdvice)}) : failure;
}

}  // namespace launcher
