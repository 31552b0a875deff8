#pragma once
// What Install and Uninstall do, decided and carried out against a file service
// and a registry backend, so that every step and every failure report is
// unit-tested natively with fakes. Flow.h runs them for the window and the
// command line alike.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Registry.h"
#include "Win32Result.h"

namespace setup {

inline constexpr wchar_t kLauncherFile[] = L"Tolvane.exe";
inline constexpr wchar_t kSetupFile[] = L"Setup.exe";
inline constexpr wchar_t kReadmeFile[] = L"Readme.txt";
// In copy order.
inline constexpr const wchar_t* kInstalledFiles[] = {kLauncherFile, kSetupFile, kReadmeFile};

inline constexpr wchar_t kInitialFolderText[] = L"C:\\Tolvane\\";
inline constexpr wchar_t kTitle[] = L"Tolvane - Installation";

inline constexpr wchar_t kFinishedText[] =
    L"Installation is finished. Tolvane will now be run. See 'readme.txt' for more information on the program.";
inline constexpr wchar_t kFinishedTitle[] = L"Installation finished!";
inline constexpr wchar_t kUninstalledText[] =
    L"Uninstallation is now finished. Only the registry entries made by the installation were removed. "
    L"Please delete the files manually.";
inline constexpr wchar_t kUninstalledTitle[] = L"Uninstallation finished!";
inline constexpr wchar_t kNotFinishedTitle[] = L"Installation not finished";
inline constexpr wchar_t kUninstallNotFinishedTitle[] = L"Uninstallation not finished";
inline constexpr wchar_t kNotStartedTitle[] = L"Tolvane not started";
inline constexpr wchar_t kProtectTitle[] = L"Protect the installation folder?";

// The longest full folder path Setup accepts: with "Tolvane.exe", quotes and
// the Explorer's "/e," it stays well below the 260 characters that programs
// reading the Run value or starting the Explorer may still assume.
inline constexpr std::size_t kMaxFolderLength = 200;

// Values of the uninstall entry beyond DisplayName and UninstallString that the
// list of installed programs reads.
inline constexpr wchar_t kDisplayIconValue[] = L"DisplayIcon";
inline constexpr wchar_t kDisplayVersionValue[] = L"DisplayVersion";
inline constexpr wchar_t kPublisherValue[] = L"Publisher";
inline constexpr wchar_t kInstallLocationValue[] = L"InstallLocation";
inline constexpr wchar_t kNoModifyValue[] = L"NoModify";
inline constexpr wchar_t kNoRepairValue[] = L"NoRepair";
inline constexpr wchar_t kQuietUninstallStringValue[] = L"QuietUninstallString";
inline constexpr wchar_t kDisplayName[] = L"Varnholt Tolvane";

// The launcher is started minimized and activated (SW_SHOWMINIMIZED).
inline constexpr int kLauncherShowState = 2;

// GetDriveTypeW's answers, in its numbering.
enum class DriveKind { Unknown, NoRoot, Removable, Fixed, Remote, CdRom, RamDisk };

// The file operations Install needs.
class FileService {
public:
    virtual ~FileService() = default;
    // As Windows resolves it (GetFullPathNameW): relative parts, "/" and device
    // names such as "CON" resolved.
    virtual std::wstring FullPath(const std::wstring& path) = 0;
    // The kind of the drive a full path "X:\..." is on.
    virtual DriveKind KindOfDrive(const std::wstring& fullPath) = 0;
    // Name of the first entry matching the pattern; folders and ordinary files
    // count, hidden and system entries and "." / ".." do not. "" when none.
    virtual std::wstring FirstMatch(const std::wstring& pattern) = 0;
    // One level: the parent must exist. The folder gets the descriptor (SDDL)
    // in the same call, so that there is no moment with other permissions.
    virtual winkit::Win32Result CreateFolder(const std::wstring& path, const std::wstring& sddl) = 0;
    virtual bool IsFolder(const std::wstring& path) = 0;
    // A junction or symbolic link (a reparse point), not a folder of its own.
    virtual bool IsLink(const std::wstring& path) = 0;
    // Owner and DACL as SDDL.
    virtual winkit::Win32Result ReadSecurity(const std::wstring& path, std::wstring* sddl) = 0;
    // Gives the folder this owner and protected DACL, and every entry already
    // in it what it would inherit from them.
    virtual winkit::Win32Result Protect(const std::wstring& path, const std::wstring& sddl) = 0;
    virtual bool IsFile(const std::wstring& path) = 0;
    // Both names reach the same file (also through another spelling of the path).
    virtual bool SameFile(const std::wstring& a, const std::wstring& b) = 0;
    virtual winkit::Win32Result CopyReplacing(const std::wstring& from, const std::wstring& to) = 0;
};

// The folder text as typed, turned into the paths Install works with.
struct InstallPlan {
    std::wstring searchPattern;   // the existence test on the text as typed
    std::wstring folderToCreate;  // the typed text with one trailing "\" cut
    std::wstring installFolder;   // folderToCreate + "\"
    std::wstring sourceFolder;    // the running program's folder, ending in "\"
    bool autostart = false;
    // An existing folder that users without administrator rights can change
    // is protected (the user agreed, or nobody is asked); otherwise it stops
    // the installation.
    bool protectExisting = false;
};

// Cuts one trailing "\" (only one, also when there are several).
std::wstring CutTrailingBackslash(const std::wstring& text);
// A text ending in "\" is searched as the folder's contents.
std::wstring ExistenceSearchPattern(const std::wstring& typedText);
// "\" is added only when missing (a drive root already has it).
std::wstring SourceFolderFrom(const std::wstring& programFolder);
// Why a folder text cannot be used, or nothing when it can: the text as typed,
// its full path and the kind of drive that is on. Only a full path on a fixed
// local drive is always the same folder, reached without a network.
std::optional<std::wstring> RefuseFolderText(const std::wstring& typedText, const std::wstring& fullPath,
                                             DriveKind drive);
// From the full path of the folder text.
InstallPlan MakeInstallPlan(const std::wstring& folderText, const std::wstring& programFolder, bool autostart);

// An existing folder (not a link) whose owner or permissions let users
// without administrator rights change it, or whose permissions cannot be read.
bool NeedsProtection(const InstallPlan& plan, FileService& files);
std::wstring ProtectQuestion(const InstallPlan& plan);

// One registry write of Install, in the order they are made.
struct RegistryWrite {
    const wchar_t* key;
    const wchar_t* value;
    std::uint32_t type;  // registry::kTypeSz or registry::kTypeDword
    std::wstring text;
    std::uint32_t number = 0;
};
std::vector<RegistryWrite> PlannedRegistryWrites(const InstallPlan& plan);

// How the installed launcher is started: by its full path, so that no other
// program on the search path (or "C:\Program.exe" for a path with a blank) can
// run in its place.
struct StartCommand {
    std::wstring programPath;
    std::wstring workingFolder;
    int showState = kLauncherShowState;
};
StartCommand LauncherStart(const InstallPlan& plan);

enum class FailedStep { CreateFolder, FolderIsLink, FolderUnprotected, ProtectFolder, CopyFile };
enum class CopyProblem { Refused, SourceMissing, TargetInUse };

struct StepFailure {
    FailedStep step;
    std::wstring path;    // the folder or the target file
    std::wstring source;  // a copy's source file
    long error = 0;
    CopyProblem problem = CopyProblem::Refused;
};

struct RegistryFailure {
    std::wstring key;
    std::wstring value;
    long error = 0;
    registry::Root root = registry::Root::LocalMachine;
};

struct InstallReport {
    bool folderCreated = false;
    bool folderProtected = false;  // an existing folder, now changeable by administrators only
    std::vector<std::wstring> copied;   // file names
    std::vector<std::wstring> skipped;  // source and target were the same file
    std::vector<RegistryFailure> registryFailures;
    std::optional<StepFailure> failure;

    // Only a complete installation ends with the message and the launcher's start.
    bool Complete() const { return !failure && registryFailures.empty(); }
};

// The file steps and the registry writes; stops at the first failing file step.
InstallReport RunInstall(const InstallPlan& plan, FileService& files, registry::Backend& backend);

struct UninstallReport {
    std::vector<RegistryFailure> failures;  // entries that exist and were not removed
    bool Complete() const { return failures.empty(); }
};
// Removes the machine's entries and the uninstalling user's own Run value
// (other users' Run values are out of reach).
UninstallReport RunUninstall(registry::Backend& backend);

// The message for a failed step or for refused registry entries: what failed,
// the path, the system's reason, what was already done and what to do now.
std::wstring FailureText(const InstallPlan& plan, const InstallReport& report, const winkit::ReasonText& reason);

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

}  // namespace setup
