#include "Actions.h"

#include <utility>

#include "CommandLine.h"
#include "RegistryLayout.h"
#include "Settings.h"
#include "resource.h"

namespace launcher {

TrayEvent TrayNotifications::Classify(bool version4, std::uintptr_t lParam) {
    const unsigned notification = static_cast<unsigned>(lParam & 0xFFFF);
    const bool afterRightButton = std::exchange(m_rightButtonUp, false);
    if (!version4) {
        if (notification == kTrayLeftButtonUp) return {TrayGesture::OpenExplorer, false};
        if (notification == kTrayRightButtonUp) return {TrayGesture::ShowMenu, false};
        return {};
    }
    if (((lParam >> 16) & 0xFFFF) != kTrayIconId) return {};
    switch (notification) {
    case kTraySelect:
        return {TrayGesture::OpenExplorer, false};
    case kTrayKeySelect:
        return {TrayGesture::OpenExplorer, true};
    case kTrayRightButtonUp:
        m_rightButtonUp = true;
        return {};
    case kTrayContextMenu:
        return {TrayGesture::ShowMenu, !afterRightButton};
    default:
        return {};
    }
}

std::optional<ActionCode> ActionForCommand(int commandId) {
    switch (commandId) {
    case IDM_AUTOSTART:
        return kActionAutostart;
    case IDM_ABOUT:
        return kActionAbout;
    case IDM_SETTINGS:
        return kActionSettings;
    case IDM_EXIT:
        return kActionExit;
    case IDM_EXPLORER:
        return kActionExplorer;
    default:
        return std::nullopt;
    }
}

std::optional<int> ShowStateForMode(const std::wstring& mode) {
    static const struct {
        const wchar_t* name;
        int showState;
    } kModes[] = {
        {L"vbNormalFocus", 1},
        {L"vbMinimizedFocus", 2},
        {L"vbMaximizedFocus", 3},
        {L"vbNormalNoFocus", 4},
    };
    for (const auto& entry : kModes)
        if (mode == entry.name) return entry.showState;
    return std::nullopt;
}

int ExplorerShowState(const std::wstring& mode) {
    return ShowStateForMode(mode).value_or(kFallbackShowState);
}

std::wstring ExplorerCommandLine(const std::wstring& folder) {
    std::wstring clean;
    clean.reserve(folder.size());
    for (wchar_t ch : folder)
        if (ch != L'"') clean.push_back(ch);
    if (clean.empty()) return kExplorerCommandStart;
    return std::wstring(kExplorerCommandStart) + L"\"" + clean + L"\"";
}

bool IsDriveLetterPath(const std::wstring& text) {
    if (text.size() < 2 || text[1] != L':') return false;
    const wchar_t letter = text[0];
    return (letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z');
}

ExplorerLaunch PlanExplorerLaunch(registry::Backend& backend, FolderProbe& probe) {
    const StoredSettings settings = ReadSettings(backend);
    ExplorerLaunch launch{L"", ExplorerShowState(settings.mode), probe.ExpandVariables(settings.folder)};
    launch.commandLine = ExplorerCommandLine(launch.folder);
    launch.folderMissing = IsDriveLetterPath(launch.folder) && !probe.IsNetworkDrive(launch.folder[0]) &&
                           probe.IsMissingFolder(launch.folder);
    return launch;
}

std::wstring MissingFolderText(const std::wstring& folder) {
    return L"The folder " + folder + L" does not exist.\n\nChoose another one in Settings.";
}

std::wstring LauncherPath(const std::wstring& programFolder) {
    std::wstring path = programFolder;
    if (path.empty() || path.back() != L'\\') path += L'\\';
    return path + L"Tolvane.exe";
}

bool IsAutostartText(const std::optional<std::wstring>& runValue) {
    return runValue && runValue->find_first_not_of(L' ') != std::wstring::npos;
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
        outcome.status = Status::Failure(result, L"Removing HKEY_LOCAL_MACHINE\\" + std::wstring(kRunKey));
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
    std::wstring text = wasChecked ? L"Tolvane could not remove its autostart entry."
                                   : L"Tolvane could not add its autostart entry.";
    text += L"\n\n" + systemMessage;
    if (outcome.allUsers && outcome.status.code == winkit::kErrorAccessDenied)
        text += std::wstring(L"\n\n") + winkit::kAdministratorAdvice;
    return text;
}

}  // namespace launcher
