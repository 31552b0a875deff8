#pragma once
// What Install and Uninstall do, decided and carried out against a file service
// and a registry backend, so that every step, every refusal and every undo is
// unit-tested natively with fakes. Flow.h runs them for the window and the
// command line alike.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Registry.h"
#include "Win32Result.h"

namespace setup {

using Bytes = std::vector<std::uint8_t>;

inline constexpr wchar_t kLauncherFile[] = L"Tolvane.exe";
inline constexpr wchar_t kSetupFile[] = L"Setup.exe";
inline constexpr wchar_t kReadmeFile[] = L"Readme.txt";
// In copy order.
inline constexpr const wchar_t* kInstalledFiles[] = {kLauncherFile, kSetupFile, kReadmeFile};

inline constexpr wchar_t kInitialFolderText[] = L"C:\\Tolvane\\";
inline constexpr wchar_t kTitle[] = L"Tolvane - Installation";

inline constexpr wchar_t kFinishedTitle[] = L"Installation finished!";
inline constexpr wchar_t kUninstalledText[] =
    L"Uninstallation is now finished. Only the registry entries made by the installation were removed. "
    L"Please delete the files manually.";
inline constexpr wchar_t kUninstalledTitle[] = L"Uninstallation finished!";
inline constexpr wchar_t kNotFinishedTitle[] = L"Installation not finished";
inline constexpr wchar_t kUninstallNotFinishedTitle[] = L"Uninstallation not finished";
inline constexpr wchar_t kNotStartedTitle[] = L"Tolvane not started";

// The longest full folder path Setup accepts: with "Tolvane.exe", quotes and
// the Explorer's "/e," it stays well below the 260 characters that programs
// reading the Run value or starting the Explorer may still assume.
inline constexpr std::size_t kMaxFolderLength = 200;
// Far above any file Setup ships: a larger one is not the file it was built
// with, and is not read into memory to find that out.
inline constexpr std::uint64_t kMaxSourceSize = 64u * 1024 * 1024;

// Values of the uninstall entry beyond DisplayName and UninstallString that the
// list of installed programs reads.
inline constexpr wchar_t kDisplayIconValue[] = L"DisplayIcon";
inline constexpr wchar_t kDisplayVersionValue[] = L"DisplayVersion";
inline constexpr wchar_t kPublisherValue[] = L"Publisher";
inline constexpr wchar_t kInstallLocationValue[] = L"InstallLocation";
inline constexpr wchar_t kEstimatedSizeValue[] = L"EstimatedSize";
inline constexpr wchar_t kNoModifyValue[] = L"NoModify";
inline constexpr wchar_t kNoRepairValue[] = L"NoRepair";
inline constexpr wchar_t kQuietUninstallStringValue[] = L"QuietUninstallString";
inline constexpr wchar_t kDisplayName[] = L"Varnholt Tolvane";

// The launcher is started minimized and activated (SW_SHOWMINIMIZED).
inline constexpr int kLauncherShowState = 2;

// GetDriveTypeW's answers, in its numbering.
enum class DriveKind { Unknown, NoRoot, Removable, Fixed, Remote, CdRom, RamDisk };

// The install folder, opened once (FILE_FLAG_BACKUP_SEMANTICS |
// FILE_FLAG_OPEN_REPARSE_POINT, no FILE_SHARE_DELETE) and held until the last
// registry value is written: nobody can rename or delete it meanwhile, and
// everything Setup decides about it and writes into it goes through this one
// handle, never through its path again.
class HeldFolder {
public:
    virtual ~HeldFolder() = default;
    virtual bool IsFolder() = 0;
    // A junction or symbolic link itself, not a folder of its own.
    virtual bool IsLink() = 0;
    // Where the handle really leads (GetFinalPathNameByHandleW), as "X:\...".
    virtual winkit::Win32Result FinalPath(std::wstring* path) = 0;
    // Owner and DACL as SDDL.
    virtual winkit::Win32Result ReadSecurity(std::wstring* sddl) = 0;
    // The folder at this path is this one (Setup runs from it).
    virtual bool Is(const std::wstring& folderPath) = 0;
    // Creates or replaces a file in the folder; *previous gets what the file
    // held before, nothing when there was none.
    virtual winkit::Win32Result Write(const std::wstring& name, const Bytes& bytes,
                                      std::optional<Bytes>* previous) = 0;
    // Undoes a Write: the earlier content back, or the file removed.
    virtual winkit::Win32Result Restore(const std::wstring& name, const std::optional<Bytes>& previous) = 0;
    // Removes the folder itself; it must be empty. Only a folder opened as
    // removable (one this attempt created) can be.
    virtual winkit::Win32Result Remove() = 0;
};

// A folder above the install folder, as one handle opened on it shows it.
struct FolderFacts {
    bool link = false;
    winkit::Win32Result security;  // reading the permissions
    std::wstring sddl;
};

// The file operations Install needs.
class FileService {
public:
    virtual ~FileService() = default;
    // As Windows resolves it (GetFullPathNameW): relative parts, "/" and device
    // names such as "CON" resolved.
    virtual std::wstring FullPath(const std::wstring& path) = 0;
    // Short (8.3) names of the folders that exist expanded (GetLongPathNameW).
    virtual std::wstring LongPath(const std::wstring& fullPath) = 0;
    // The kind of the drive a full path "X:\..." is on.
    virtual DriveKind KindOfDrive(const std::wstring& fullPath) = 0;
    // Whether the volume of a root "X:\" keeps permissions
    // (FILE_PERSISTENT_ACLS): FAT32 and exFAT do not.
    virtual winkit::Win32Result KeepsPermissions(const std::wstring& root, bool* keeps) = 0;
    // "C:\": the root of the drive Windows itself is on.
    virtual std::wstring WindowsDriveRoot() = 0;
    // Windows' comparison of paths: letter case ignored.
    virtual bool SamePath(const std::wstring& a, const std::wstring& b) = 0;
    // Opened without following a link at the end of the path.
    virtual winkit::Win32Result Inspect(const std::wstring& folder, FolderFacts* facts) = 0;
    // One level: the parent must exist. The folder gets the descriptor (SDDL)
    // in the same call, so that there is no moment with other permissions.
    virtual winkit::Win32Result CreateFolder(const std::wstring& path, const std::wstring& sddl) = 0;
    // `removable`: with the right to remove it again, for a folder this
    // attempt created.
    virtual winkit::Win32Result OpenFolder(const std::wstring& path, bool removable,
                                           std::unique_ptr<HeldFolder>* folder) = 0;
    // A file's bytes, read through a handle that lets nobody write, rename or
    // delete the file meanwhile; larger than kMaxSourceSize: not read.
    virtual winkit::Win32Result ReadSource(const std::wstring& path, Bytes* bytes, bool* tooLarge) = 0;
    // Setup's own file, held so since Setup started.
    virtual winkit::Win32Result ReadOwnProgram(Bytes* bytes) = 0;
};

// Where the files come from: Setup's own file, and beside it the launcher
// and the guide, which must be the ones Setup was built with.
struct Sources {
    std::wstring programPath;
    std::string launcherSha256;
    std::string readmeSha256;
};

// The folder, as a full path with short names expanded, and what Install does there.
struct InstallPlan {
    std::wstring folder;         // created or opened: no trailing "\"
    std::wstring installFolder;  // folder + "\"
    std::wstring sourceFolder;   // Setup's own folder, ending in "\"
    std::wstring programPath;    // Setup's own file, copied as Setup.exe
    bool autostart = false;
};

// Why a folder text cannot be used, or nothing when it can: the text as typed,
// its full path and the kind of drive that is on. Only a full path on a fixed
// local drive is always the same folder, reached without a network.
std::optional<std::wstring> RefuseFolderText(const std::wstring& typedText, const std::wstring& fullPath,
                                             DriveKind drive);
// From the full path of the folder text; trailing "\" cut.
InstallPlan MakeInstallPlan(const std::wstring& folderPath, const std::wstring& programPath, bool autostart);
// The folders from the drive's root down to the install folder's parent.
std::vector<std::wstring> FoldersAbove(const std::wstring& folder);
// "\\?\C:\x" and "\\?\UNC\server\share" as the paths they are.
std::wstring WithoutLongPrefix(const std::wstring& finalPath);

// One registry write of Install, in the order they are made.
struct RegistryWrite {
    const wchar_t* key;
    const wchar_t* value;
    std::uint32_t type;  // registry::kTypeSz or registry::kTypeDword
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
struct UndoneStep {
    std::wstring what;  // e.g. "removed C:\Tolvane\Setup.exe"
    long error = 0;
};

struct InstallReport {
    bool folderCreated = false;
    std::vector<std::wstring> copied;   // file names
    std::vector<std::wstring> skipped;  // Setup runs from the install folder: the files are there
    std::vector<std::wstring> written;  // registry values, as "key \"value\""
    std::vector<RegistryFailure> registryFailures;
    std::optional<StepFailure> failure;
    std::vector<UndoneStep> undone;  // latest first
    std::uint64_t installedBytes = 0;

    // Only a complete installation ends with the message and the launcher's start.
    bool Complete() const { return !failure; }
};

// The checks, the file steps and the registry writes; at the first failure
// everything done so far is undone, latest first, as Windows Installer's
// rollback does.
InstallReport RunInstall(const InstallPlan& plan, const Sources& sources, FileService& files,
                         registry::Backend& backend);

// The launchers running on this desktop: an Uninstall ends them first, with
// the close message to their hidden main window that a launcher takes from an
// installer, so that no icon is left of a program whose entries are gone.
class RunningLaunchers {
public:
    virtual ~RunningLaunchers() = default;
    struct Ended {
        int ended = 0;
        int stillRunning = 0;  // did not end in time
    };
    virtual Ended EndAll() = 0;
};

// Which launchers an Uninstall ends: the Tolvane.exe of the installation its
// entry names (InstallLocation), and the one beside Setup itself. Another
// program's window of the launcher's class is not one of them.
std::vector<std::wstring> LaunchersToEnd(registry::Backend& backend, const std::wstring& setupProgramPath);

struct UninstallReport {
    RunningLaunchers::Ended launchers;
    std::vector<RegistryFailure> failures;  // entries that exist and were not removed
    bool Complete() const { return failures.empty(); }
};
// Ends the running launchers, then removes the machine's entries and the
// uninstalling user's own Run value (other users' Run values are out of reach).
UninstallReport RunUninstall(registry::Backend& backend, RunningLaunchers& launchers);

// A message in parts: the log gives what happened and why; the window adds
// what to do there.
struct Explanation {
    std::wstring text;     // what failed, the path, the system's reason, the rule, what was undone
    std::wstring advice;   // what to do in the window ("... press Install again")
};

Explanation FailureText(const InstallPlan& plan, const InstallReport& report, const winkit::ReasonText& reason);
std::wstring FinishedText(const InstallPlan& plan);

// Starts a program as the user the desktop belongs to: Setup runs elevated,
// and a program it started itself would keep its administrator token.
class UserStarter {
public:
    virtual ~UserStarter() = default;
    // A desktop shell is there to ask.
    virtual bool Available() = 0;
    virtual winkit::Win32Result Start(const StartCommand& start) = 0;
};

std::wstring StartFailureText(const StartCommand& start, long error, const winkit::ReasonText& reason);
std::wstring UninstallFailureText(const UninstallReport& report, const winkit::ReasonText& reason);
// What the Uninstall message and log add about running launchers; "" for none.
std::wstring LaunchersEndedText(const RunningLaunchers::Ended& launchers);

}  // namespace setup
