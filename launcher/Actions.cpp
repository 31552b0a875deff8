#include "Actions.h"

#include "CommandLine.h"
#include "RegistryLayout.h"

namespace launcher {

TrayResponse ClassifyTrayNotification(unsigned message, std::intptr_t lParam) {
    if (message != kTrayCallbackMessage) return TrayResponse::Ignore;
    // Shell versions before 6.0 (which the first-version record asks for) put
    // the mouse message in lParam as it is; keep only its low word regardless.
    switch (static_cast<long>(lParam & 0xFFFF)) {
    case kMouseLeftButtonUp:
        return TrayResponse::DeferExplorer;
    case kMouseRightButtonUp:
        return TrayResponse::ShowMenu;
    default:
        return TrayResponse::Ignore;
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

ExplorerLaunch PlanExplorerLaunch(registry::Backend& backend) {
    using namespace registry;
    const std::wstring mode = GetString(backend, Root::LocalMachine, kSettingsKey, kModeValue).value_or(L"");
    const std::wstring folder = GetString(backend, Root::LocalMachine, kSettingsKey, kFolderValue).value_or(L"");
    return {ExplorerCommandLine(folder), ExplorerShowState(mode)};
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
    return IsAutostartText(GetString(backend, Root::LocalMachine, kRunKey, kRunValue));
}

AutostartOutcome ToggleAutostart(registry::Backend& backend, bool checked, const std::wstring& launcherPath) {
    using namespace registry;
    Status status;
    if (checked) {
        status = DeleteValue(backend, Root::LocalMachine, kRunKey, kRunValue);
        // Already gone is what was asked for.
        if (status.error == kFileNotFound) status = {};
    } else {
        status = SaveString(backend, Root::LocalMachine, kRunKey, kRunValue,
                            winkit::QuoteProgramPath(launcherPath));
    }
    return {ReadAutostart(backend), status};
}

std::wstring AutostartFailureText(bool wasChecked, long error, const std::wstring& systemMessage) {
    std::wstring text = wasChecked ? L"Tolvane could not remove its autostart entry."
                                   : L"Tolvane could not add its autostart entry.";
    text += L"\n\n" + systemMessage;
    if (error == registry::kAccessDenied)
        text += L"\n\nThe autostart entry is kept for all users of this computer: changing it needs administrator rights.";
    return text;
}

}  // namespace launcher
