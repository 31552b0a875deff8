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
    // A share ("\\server\share\...", or a network drive's "N:\...") this user
    // is connected to already: asked of the local list of connections, never
    // of the server.
    virtual bool IsConnected(const std::wstring& networkPath) = 0;
};

// The two values a click needs, each looked up on its own (policies, the
// user's, the machine's); missing reads as "".
struct LaunchSettings {
    std::wstring mode;
    std::wstring folder;
};
LaunchSettings ReadLaunchSettings(registry::Backend& backend);

// What kind of text a folder is, once expanded and without blanks around it.
enum class FolderTextKind {
    Empty,       // the Explorer without a folder
    Drive,       // "C:\x", "C:" (checked unless on a network drive)
    Network,     // "\\server\share\x" (not checked: a lost server would hold up the click)
    ShellName,   // "shell:Personal", "::{CLSID}": the Explorer's own names, passed as they are
    DevicePath,  // "\\?\C:\x", "\\.\C:", also with "/": would skip every check
    Address,     // "file:///C:/x", "http://...": the Explorer would open it with its program
    NotFull,     // "x", "\x", "C:x": the Explorer's current folder (the Windows folder) would complete it
};
FolderTextKind ClassifyFolderText(const std::wstring& text);

// Why a folder cannot be opened: the Explorer would open some other folder,
// or a file, without a word.
enum class FolderProblem { None, Missing, IsFile, DevicePath, Address, NotFull };

struct ExplorerLaunch {
    std::wstring commandLine;
    int showState;
    std::wstring folder;  // without blanks at either end, expanded
    FolderProblem problem = FolderProblem::None;  // anything but None: start nothing
};
// Blanks around the stored text (easily typed, kept as the user's) mean
// nothing. Only local drives are checked: a lost server would hold up the click.
// Device paths, addresses and texts that are not a full path are refused, so
// that the Explorer is started only at a folder.
ExplorerLaunch PlanExplorerLaunch(const LaunchSettings& settings, FolderProbe& probe);

// The message for a launch that has a problem.
std::wstring FolderProblemText(const ExplorerLaunch& launch);

// Where Browse opens the folder picker: the text's folder as the Explorer
// would get it, or the nearest folder above it that exists (on a share, not
// above the share). A share not connected already is not looked at, since a
// lost server would hold up the dialog for the network's timeout and be sent
// the user's credentials: then, as for any text that names no folder, the
// local `fallback`.
std::wstring BrowseStartFolder(const std::wstring& text, FolderProbe& probe, const std::wstring& fallback);

}  // namespace launcher
