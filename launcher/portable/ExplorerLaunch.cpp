#include "ExplorerLaunch.h"

#include <iterator>

#include "RegistryLayout.h"
#include "WindowModes.h"

namespace launcher {

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

LaunchSettings ReadLaunchSettings(registry::Backend& backend) {
    using namespace registry;
    auto lookUp = [&backend](const wchar_t* name) {
        return LookUpString(backend, std::begin(kSettingsPlaces), std::end(kSettingsPlaces), name)
            .value_or(std::wstring());
    };
    return {lookUp(kModeValue), lookUp(kFolderValue)};
}

ExplorerLaunch PlanExplorerLaunch(const LaunchSettings& settings, FolderProbe& probe) {
    ExplorerLaunch launch{L"", ExplorerShowState(settings.mode), probe.ExpandVariables(settings.folder)};
    launch.commandLine = ExplorerCommandLine(launch.folder);
    launch.folderMissing = IsDriveLetterPath(launch.folder) && !probe.IsNetworkDrive(launch.folder[0]) &&
                           probe.IsMissingFolder(launch.folder);
    return launch;
}

std::wstring MissingFolderText(const std::wstring& folder) {
    return L"The folder " + folder + L" does not exist.\n\nChoose another one in Settings.";
}

}  // namespace launcher
