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

namespace {

std::wstring WithoutBlanksAround(const std::wstring& text) {
    const auto first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return std::wstring();
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

}  // namespace

ExplorerLaunch PlanExplorerLaunch(const LaunchSettings& settings, FolderProbe& probe) {
    ExplorerLaunch launch{L"", ExplorerShowState(settings.mode),
                          WithoutBlanksAround(probe.ExpandVariables(WithoutBlanksAround(settings.folder)))};
    launch.commandLine = ExplorerCommandLine(launch.folder);
    if (!IsDriveLetterPath(launch.folder) || probe.IsNetworkDrive(launch.folder[0])) return launch;
    switch (probe.Examine(launch.folder)) {
    case FolderProbe::Found::Nothing:
        launch.problem = FolderProblem::Missing;
        break;
    case FolderProbe::Found::File:
        launch.problem = FolderProblem::IsFile;
        break;
    case FolderProbe::Found::Folder:
    case FolderProbe::Found::Unknown:
        break;
    }
    return launch;
}

std::wstring FolderProblemText(const ExplorerLaunch& launch) {
    if (launch.problem == FolderProblem::IsFile)
        return launch.folder + L" is a file, not a folder.\n\nChoose a folder in Settings.";
    return L"The folder " + launch.folder + L" does not exist.\n\nChoose another one in Settings.";
}

}  // namespace launcher
