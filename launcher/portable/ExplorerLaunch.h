#pragma once
// How the Explorer is started at the folder: the command, the show state, and
// whether the folder is there at all.
#include <string>

#include "Registry.h"

namespace launcher {

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
    enum class Found { Folder, Nothing, File, Unknown };
    // Unknown: something that may not be looked at, for the Explorer to report.
    virtual Found Examine(const std::wstring& path) = 0;
};

// A path on a drive of its own letter ("C:\x", "d:"); not "\\server\share",
// not a relative or a shell name.
bool IsDriveLetterPath(const std::wstring& text);

// The two values a click needs, each looked up on its own (policies, the
// user's, the machine's); missing reads as "".
struct LaunchSettings {
    std::wstring mode;
    std::wstring folder;
};
LaunchSettings ReadLaunchSettings(registry::Backend& backend);

// Why a local folder cannot be opened: the Explorer would open some other
// folder without a word.
enum class FolderProblem { None, Missing, IsFile };

struct ExplorerLaunch {
    std::wstring commandLine;
    int showState;
    std::wstring folder;  // without blanks at either end, expanded
    FolderProblem problem = FolderProblem::None;  // anything but None: start nothing
};
// Blanks around the stored text (easily typed, kept as the user's) mean
// nothing. Only local drives are checked: a lost server would hold up the click.
ExplorerLaunch PlanExplorerLaunch(const LaunchSettings& settings, FolderProbe& probe);

// The message for a launch that has a problem.
std::wstring FolderProblemText(const ExplorerLaunch& launch);

}  // namespace launcher
