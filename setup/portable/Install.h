#pragma once
// What Install and Uninstall do, decided and carried out against a file service
// and a registry backend, so that every step, every refusal and every undo is
// unit-tested natively with fakes. Flow.h runs them for the window and the
// command line alike.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FileService.h"
#include "InstallConstants.h"
#include "Registry.h"
#include "SetupTexts.h"
#include "Win32Result.h"

namespace setup {

// Where the files come from: Setup's own file, and beside it the launcher
// and the guide, which must be the ones Setup was built with.
struct Sources {
    std::wstring programPath;
    std::wstring launcherSha256;
    std::wstring readmeSha256;
    std::wstring germanReadmeSha256;
};

// The folder, as a full path with short names expanded, and what Install does there.
struct InstallPlan {
    std::wstring folder;         // created or opened: no trailing "\"
    std::wstring installFolder;  // folder + "\"
    std::wstring sourceFolder;   // Setup's own folder, ending in "\"
    std::wstring programPath;    // Setup's own file, copied as Setup.exe
    bool autostart = false;
    // The folder of the installation being moved here, ending in "\"; "" for none.
    std::wstring movedFrom;
};

// The folder the uninstall entry names (InstallLocation), ending in "\"; "" for none.
std::wstring InstalledFolder(registry::Backend& backend);
// Whether a value's text names something in the folder (ending in "\"), as
// a program path or an argument, in any letter case.
bool PointsInto(const std::wstring& text, const std::wstring& folder);
// The names of the machine's Run values that point into `folder` and not into
// `keep`. The uninstall entry's values need no search: Install writes them
// all again, and Uninstall removes the whole key.
std::vector<std::wstring> RunValuesInto(registry::Backend& backend, const std::wstring& folder,
                                        const std::wstring& keep);

// Why a folder text cannot be used, or nothing when it can: the text as typed,
// its full path and the kind of drive that is on. Only a full path on a fixed
// local drive is always the same folder, reached without a network. In the
// language asked for: English for the log, the user's for the window.
std::optional<std::wstring> RefuseFolderText(const std::wstring& typedText, const std::wstring& fullPath,
                                             DriveKind drive, Language language);
// From the full path of the folder text; trailing "\" cut.
InstallPlan MakeInstallPlan(const std::wstring& folderPath, const std::wstring& programPath, bool autostart);
// The folders from the drive's root down to the install folder's parent.
std::vector<std::wstring> FoldersAbove(const std::wstring& folder);
// "\\?\C:\x" and "\\?\UNC\server\share" as the paths they are.
std::wstring WithoutLongPrefix(const std::wstring& finalPath);

// A "write" that removes the value (REG_NONE, which Setup never writes).
inline constexpr std::uint32_t kRemove = 0;

// One registry write of Install, in the order they are made.
struct RegistryWrite {
    const wchar_t* key;
    const wchar_t* value;
    std::uint32_t type;  // registry::kTypeSz, registry::kTypeDword, or kRemove
    std::wstring text;
    std::uint32_t number = 0;
};
// `installedBytes`: the size of the installed files, for the list of installed programs.
std::vector<RegistryWrite> PlannedRegistryWrites(const InstallPlan& plan, std::uint64_t installedBytes);

// How the installed launcher is started: by its full path, so that no other
// program on the search path (or "C:\Program.exe" for a path with a blank) can
// run in its place.
struct StartCommand {
    std::wstring programPath;
    std::wstring workingFolder;
    int showState = kLauncherShowState;
};
StartCommand LauncherStart(const InstallPlan& plan);

// Starts a program as the user the desktop belongs to: Setup runs elevated,
// and a program it started itself would keep its administrator token.
class UserStarter {
public:
    virtual ~UserStarter() = default;
    // A desktop shell is there to ask.
    virtual bool Available() = 0;
    virtual winkit::Win32Result Start(const StartCommand& start) = 0;
};

enum class FailedStep {
    VolumeUnknown,       // whether the drive keeps permissions cannot be told
    NoPermissions,       // FAT32, exFAT
    FolderAboveIsLink,   // path: the link
    FolderAboveUnsafe,   // path: that folder; error when its permissions cannot be read
    CreateFolder,
    OpenFolder,
    FolderIsLink,
    FolderIsFile,
    FolderElsewhere,     // source: where the handle leads
    FolderUnsafe,        // an existing folder; error when its permissions cannot be read
    SourceMissing,       // source: the file; error: why it could not be read
    SourceChanged,       // source: the file
    CopyFile,            // path: the target
    Registry,            // see registryFailures
};

struct StepFailure {
    FailedStep step;
    std::wstring path;    // the folder or the target file
    std::wstring source;  // a copy's source, or where a folder really leads
    long error = 0;
};

struct RegistryFailure {
    std::wstring key;
    std::wstring value;
    long error = 0;
    registry::Root root = registry::Root::LocalMachine;
};

// One step of a failed installation taken back, or not (error).
// A step of the undo: its text comes in the user's language for a message
// and in English for the log.
enum class UndoAction { RemoveFolder, RemoveFile, PutBackFile, RemoveKey, RemoveValue, PutBackValue };
struct UndoneStep {
    UndoAction action = UndoAction::RemoveFolder;
    std::wstring subject;  // a path, a key, or a key and "value"
    long error = 0;
};
// "remove the folder C:\Tolvane", in the language given.
std::wstring UndoText(const UndoneStep& step, Language language);

struct InstallReport {
    bool folderCreated = false;
    std::vector<std::wstring> copied;   // file names
    std::vector<std::wstring> skipped;  // Setup runs from the install folder: the files are there
    std::vector<std::wstring> written;  // registry values, as "key \"value\""
    std::vector<std::wstring> removed;  // Run values that pointed into the folder moved from
    std::vector<RegistryFailure> registryFailures;
    std::optional<StepFailure> failure;
    std::vector<UndoneStep> undone;  // latest first
    std::uint64_t installedBytes = 0;

    // Only a complete installation ends with the message and the launcher's start.
    bool Complete() const { return !failure; }
};

// What runs once the folder is checked and held, before the first file is
// written: the running launchers are ended there, and not for a folder refused.
class BeforeCopy {
public:
    virtual ~BeforeCopy() = default;
    virtual void Run() = 0;
};

// The checks, the file steps, the registry writes and, for a move, the
// removal of the values that point into the old folder; at the first failure
// everything done so far is undone, latest first, as Windows Installer's
// rollback does.
InstallReport RunInstall(const InstallPlan& plan, const Sources& sources, FileService& files,
                         registry::Backend& backend, BeforeCopy* beforeCopy = nullptr);

}  // namespace setup
