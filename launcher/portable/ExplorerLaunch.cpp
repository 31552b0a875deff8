#include "ExplorerLaunch.h"

#include <algorithm>

#include "Join.h"
#include "LauncherTexts.h"
#include "RegistryLayout.h"
#include "Settings.h"
#include "Text.h"
#include "WindowModes.h"

namespace launcher {

std::wstring ExplorerCommandLine(const std::wstring& folder) {
    std::wstring clean;
    clean.reserve(folder.size());
    for (wchar_t ch : folder)
        if (ch != L'"') clean.push_back(ch);
    if (clean.empty()) return kExplorerCommandStart;
    return winkit::Join({kExplorerCommandStart, L"\"", clean, L"\""});
}

LaunchSettings ReadLaunchSettings(registry::Backend& backend) {
    return {LookUpSetting(backend, registry::kModeValue), LookUpSetting(backend, registry::kFolderValue)};
}

namespace {

using winkit::IsAsciiLetter;
using winkit::IsPathSeparator;
using winkit::Trimmed;

// "file:", "http:", "ms-settings:": a letter, then letters, digits, "+", "-"
// or "." up to the colon; two characters at least, since "C:" is a drive.
std::size_t SchemeLength(const std::wstring& text) {
    if (text.empty() || !IsAsciiLetter(text[0])) return 0;
    std::size_t at = 1;
    while (at < text.size() && (IsAsciiLetter(text[at]) || (text[at] >= L'0' && text[at] <= L'9') || text[at] == L'+' ||
                                text[at] == L'-' || text[at] == L'.'))
        ++at;
    return at >= 2 && at < text.size() && text[at] == L':' ? at : 0;
}

bool StartsWithIgnoringCase(const std::wstring& text, const wchar_t* start) {
    std::size_t at = 0;
    for (; start[at] != L'\0'; ++at) {
        if (at >= text.size()) return false;
        const wchar_t a = text[at] >= L'A' && text[at] <= L'Z' ? static_cast<wchar_t>(text[at] + 32) : text[at];
        if (a != start[at]) return false;
    }
    return true;
}

}  // namespace

FolderTextKind ClassifyFolderText(const std::wstring& text) {
    if (text.empty()) return FolderTextKind::Empty;
    if (text.size() >= 2 && IsPathSeparator(text[0]) && IsPathSeparator(text[1])) {
        // "\\?\" and "\\.\" (Windows reads "//?/" and "\\?/" alike) reach
        // devices and skip the normalisation the checks rely on.
        if (text.size() == 2) return FolderTextKind::NotFull;
        if (text[2] == L'?' || text[2] == L'.') return FolderTextKind::DevicePath;
        return FolderTextKind::Network;
    }
    if (text.size() >= 2 && text[0] == L':' && text[1] == L':') return FolderTextKind::ShellName;
    if (winkit::StartsWithDriveLetter(text))
        return text.size() == 2 || IsPathSeparator(text[2]) ? FolderTextKind::Drive : FolderTextKind::NotFull;
    if (SchemeLength(text) > 0)
        return StartsWithIgnoringCase(text, L"shell:") ? FolderTextKind::ShellName : FolderTextKind::Address;
    // "x", "\x", "\??\C:\x" (the current drive's): no letter or ":" first.
    return FolderTextKind::NotFull;
}

ExplorerLaunch PlanExplorerLaunch(const LaunchSettings& settings, FolderProbe& probe) {
    ExplorerLaunch launch{L"", ExplorerShowState(settings.mode),
                          Trimmed(probe.ExpandVariables(Trimmed(settings.folder)))};
    launch.commandLine = ExplorerCommandLine(launch.folder);
    switch (ClassifyFolderText(launch.folder)) {
    case FolderTextKind::DevicePath:
        launch.problem = FolderProblem::DevicePath;
        return launch;
    case FolderTextKind::Address:
        launch.problem = FolderProblem::Address;
        return launch;
    case FolderTextKind::NotFull:
        launch.problem = FolderProblem::NotFull;
        return launch;
    case FolderTextKind::Drive:
        break;
    case FolderTextKind::Empty:
    case FolderTextKind::Network:
    case FolderTextKind::ShellName:
        return launch;
    }
    if (probe.IsNetworkDrive(launch.folder[0])) return launch;
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
    TextId text = TextId::FolderMissing;
    switch (launch.problem) {
    case FolderProblem::IsFile:
        text = TextId::FolderIsFile;
        break;
    case FolderProblem::DevicePath:
        text = TextId::FolderIsDevicePath;
        break;
    case FolderProblem::Address:
        text = TextId::FolderIsAddress;
        break;
    case FolderProblem::NotFull:
        text = TextId::FolderNotFull;
        break;
    case FolderProblem::Missing:
    case FolderProblem::None:
        break;
    }
    return Format(text, {launch.folder});
}

std::wstring BrowseStartFolder(const std::wstring& text, FolderProbe& probe, const std::wstring& fallback) {
    std::wstring path = Trimmed(probe.ExpandVariables(Trimmed(text)));
    std::size_t top = 0;  // the length of the shortest path to look at: the drive's root, the share
    switch (ClassifyFolderText(path)) {
    case FolderTextKind::Drive:
        if (probe.IsNetworkDrive(path[0]) && !probe.IsConnected(path)) return fallback;
        if (path.size() == 2) path += L'\\';
        top = 3;
        break;
    case FolderTextKind::Network: {
        const std::size_t server = path.find_first_of(L"\\/", 2);
        if (server == std::wstring::npos || server == 2) return fallback;
        top = std::min(path.find_first_of(L"\\/", server + 1), path.size());
        if (top == server + 1 || !probe.IsConnected(path)) return fallback;
        break;
    }
    default:
        return fallback;
    }
    for (;;) {
        while (path.size() > top && IsPathSeparator(path.back())) path.pop_back();
        if (probe.Examine(path) == FolderProbe::Found::Folder) return path;
        if (path.size() <= top) return fallback;
        path.resize(std::max(path.find_last_of(L"\\/"), top));
    }
}

}  // namespace launcher
