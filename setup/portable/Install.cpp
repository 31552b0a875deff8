#include "Install.h"

#include "../../version/Version.h"
#include "CommandLine.h"
#include "Decimal.h"
#include "RegistryLayout.h"
#include "SecurityDescriptor.h"

namespace setup {

namespace {

bool EndsWithBackslash(const std::wstring& text) { return !text.empty() && text.back() == L'\\'; }

bool Separator(wchar_t c) { return c == L'\\' || c == L'/'; }

// "X:\" or "X:/" at the start: the one form that names the same folder
// wherever Setup or Windows happens to be.
bool StartsWithDrive(const std::wstring& text) {
    const wchar_t letter = text.empty() ? L' ' : static_cast<wchar_t>(text[0] | 0x20);
    return text.size() >= 3 && letter >= L'a' && letter <= L'z' && text[1] == L':' && Separator(text[2]);
}

// The folder itself: "C:" alone would be the current folder on drive C.
std::wstring TargetFolder(const InstallPlan& plan) {
    return plan.folderToCreate.size() == 2 && plan.folderToCreate[1] == L':' ? plan.installFolder
                                                                              : plan.folderToCreate;
}

std::wstring DriveText(DriveKind drive) {
    switch (drive) {
    case DriveKind::Remote:
        return L"a network drive";
    case DriveKind::Removable:
        return L"a removable drive";
    case DriveKind::CdRom:
        return L"a CD or DVD drive";
    default:
        return L"not a fixed drive of this computer";
    }
}

constexpr wchar_t kFixedDriveOnly[] =
    L"\n\nTolvane can only be installed on a fixed drive of this computer, such as drive C. From a network share the "
    L"programs would run, for every user at every logon, whatever the share holds at that moment; from a "
    L"removable drive or a disc, Tolvane would not start without it.";

bool InUse(long error) {
    return error == winkit::kErrorSharingViolation || error == winkit::kErrorLockViolation ||
           error == winkit::kErrorUserMappedFile;
}

std::wstring JoinNames(const std::vector<std::wstring>& names) {
    std::wstring text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? L" and " : L", ";
        text += names[i];
    }
    return text;
}

// "Already done: ..." for the message of a step that failed after others.
std::wstring AlreadyDone(const InstallPlan& plan, const InstallReport& report) {
    std::vector<std::wstring> parts;
    if (report.folderCreated) parts.push_back(L"the folder " + plan.folderToCreate + L" was created");
    if (report.folderProtected)
        parts.push_back(L"only administrators may now change " + plan.installFolder);
    if (!report.copied.empty())
        parts.push_back(JoinNames(report.copied) + (report.copied.size() == 1 ? L" was" : L" were") +
                        L" copied to " + plan.installFolder);
    if (!report.skipped.empty())
        parts.push_back(JoinNames(report.skipped) + L" already " +
                        (report.skipped.size() == 1 ? L"was" : L"were") + L" in place");
    if (parts.empty()) return L"Nothing was changed yet.";
    std::wstring text = L"Already done: ";
    for (std::size_t i = 0; i < parts.size(); ++i) text += (i > 0 ? L"; " : L"") + parts[i];
    return text + L". Nothing of it was undone.";
}

std::wstring RegistryList(const std::vector<RegistryFailure>& failures, const winkit::ReasonText& reason) {
    std::wstring text;
    for (const RegistryFailure& f : failures)
        text += L"\n" + std::wstring(registry::RootName(f.root)) + L"\\" + f.key + L"  \"" + f.value + L"\": " + reason(f.error);
    return text;
}

void Record(std::vector<RegistryFailure>& failures, const wchar_t* key, const wchar_t* value,
            registry::Status status) {
    if (!status.Ok()) failures.push_back({key, value, status.code});
}

}  // namespace

std::wstring CutTrailingBackslash(const std::wstring& text) {
    return EndsWithBackslash(text) ? text.substr(0, text.size() - 1) : text;
}

std::wstring ExistenceSearchPattern(const std::wstring& typedText) {
    // FindFirstFile finds nothing for "C:\Tolvane\"; the contents are "C:\Tolvane\*".
    return EndsWithBackslash(typedText) ? typedText + L"*" : typedText;
}

std::wstring SourceFolderFrom(const std::wstring& programFolder) {
    return EndsWithBackslash(programFolder) ? programFolder : programFolder + L"\\";
}

std::optional<std::wstring> RefuseFolderText(const std::wstring& typedText, const std::wstring& fullPath,
                                             DriveKind drive) {
    if (typedText.find_first_not_of(L" \t\\") == std::wstring::npos)
        return std::wstring(L"Please type the folder that Tolvane is to be installed to, for example ") +
               kInitialFolderText +
               L"\n\nAn empty folder name (or \"\\\" alone) would put the files into the root of the current drive.";
    const std::wstring quoted = L"\"" + typedText + L"\"";
    // GetFullPathNameW keeps "\\server\share" and "\\?\..." and turns a device name into "\\.\CON".
    if (fullPath.size() > 1 && Separator(fullPath[0]) && Separator(fullPath[1]))
        return quoted + L" is a network or device path." + kFixedDriveOnly;
    if (!StartsWithDrive(typedText) || !StartsWithDrive(fullPath))
        return quoted + L" is not a full path. Please type the whole path of the folder, beginning with its " +
               L"drive, for example " + kInitialFolderText +
               L"\n\nA relative folder depends on the folder Setup happens to run in, so the autostart entry and "
               L"the list of installed programs could not find Tolvane again.";
    if (drive != DriveKind::Fixed) return fullPath.substr(0, 2) + L" is " + DriveText(drive) + L"." + kFixedDriveOnly;
    if (fullPath.size() <= 3)
        return fullPath + L" is the root of a drive. Please install into a folder of its own, for example " +
               kInitialFolderText;
    if (fullPath.size() > kMaxFolderLength)
        return L"The folder path is longer than " + winkit::Decimal(kMaxFolderLength) +
               L" characters. Please choose a shorter one: the autostart entry and the start of the Explorer "
               L"name the programs in it by their whole path.";
    return std::nullopt;
}

InstallPlan MakeInstallPlan(const std::wstring& folderText, const std::wstring& programFolder, bool autostart) {
    InstallPlan plan;
    plan.searchPattern = ExistenceSearchPattern(folderText);
    plan.folderToCreate = CutTrailingBackslash(folderText);
    plan.installFolder = plan.folderToCreate + L"\\";
    plan.sourceFolder = SourceFolderFrom(programFolder);
    plan.autostart = autostart;
    return plan;
}

std::vector<RegistryWrite> PlannedRegistryWrites(const InstallPlan& plan) {
    using registry::kTypeDword;
    using registry::kTypeSz;
    const std::wstring launcher = plan.installFolder + kLauncherFile;
    std::vector<RegistryWrite> writes;
    if (plan.autostart)
        writes.push_back({registry::kRunKey, registry::kRunValue, kTypeSz, winkit::QuoteProgramPath(launcher)});
    writes.push_back({registry::kSettingsKey, registry::kModeValue, kTypeSz, registry::kDefaultMode});
    writes.push_back({registry::kSettingsKey, registry::kFolderValue, kTypeSz, registry::kDefaultFolder});
    writes.push_back({registry::kUninstallKey, registry::kDisplayNameValue, kTypeSz, kDisplayName});
    writes.push_back({registry::kUninstallKey, registry::kUninstallStringValue, kTypeSz,
                      winkit::QuoteProgramPath(plan.installFolder + kSetupFile)});
    // Always quoted: arguments follow the path.
    writes.push_back({registry::kUninstallKey, kQuietUninstallStringValue, kTypeSz,
                      L"\"" + plan.installFolder + kSetupFile + L"\" /UNINSTALL /S"});
    writes.push_back({registry::kUninstallKey, kDisplayIconValue, kTypeSz, launcher});
    writes.push_back({registry::kUninstallKey, kDisplayVersionValue, kTypeSz, TOLVANE_WIDEN(TOLVANE_VERSION_TEXT)});
    writes.push_back({registry::kUninstallKey, kPublisherValue, kTypeSz, TOLVANE_WIDEN(TOLVANE_COMPANY_NAME)});
    writes.push_back({registry::kUninstallKey, kInstallLocationValue, kTypeSz, plan.installFolder});
    writes.push_back({registry::kUninstallKey, kNoModifyValue, kTypeDword, L"", 1});
    writes.push_back({registry::kUninstallKey, kNoRepairValue, kTypeDword, L"", 1});
    return writes;
}

bool NeedsProtection(const InstallPlan& plan, FileService& files) {
    const std::wstring folder = TargetFolder(plan);
    if (!files.IsFolder(folder) || files.IsLink(folder)) return false;
    std::wstring sddl;
    if (!files.ReadSecurity(folder, &sddl).Ok()) return true;
    const std::optional<SecurityDescriptor> descriptor = ParseSddl(sddl);
    return !descriptor || ChangeableByNonAdministrators(*descriptor);
}

std::wstring ProtectQuestion(const InstallPlan& plan) {
    return plan.installFolder +
           L" can be changed by users without administrator rights, and the programs in it start for every "
           L"user. Allow only administrators to change it?\n\nYes: administrators become its owner, and users "
           L"may only read and run what is in it, also everything already there.\nNo: nothing is installed.";
}

StartCommand LauncherStart(const InstallPlan& plan) {
    StartCommand start;
    start.programPath = plan.installFolder + kLauncherFile;
    start.workingFolder = plan.installFolder;
    start.showState = kLauncherShowState;
    return start;
}

InstallReport RunInstall(const InstallPlan& plan, FileService& files, registry::Backend& backend) {
    InstallReport report;
    if (files.FirstMatch(plan.searchPattern).empty()) {
        const winkit::Win32Result created = files.CreateFolder(plan.folderToCreate, ToSddl(ProtectedFolder()));
        // An existing but empty folder typed with its "\" has no first entry;
        // it is there all the same.
        if (created.Ok()) {
            report.folderCreated = true;
        } else if (!(created.code == winkit::kErrorAlreadyExists && files.IsFolder(plan.folderToCreate))) {
            report.failure = StepFailure{FailedStep::CreateFolder, plan.folderToCreate, L"", created.code};
            return report;
        }
    }
    // A folder that was there before: its programs would start for every user,
    // so nobody but administrators may be able to replace them.
    const std::wstring folder = TargetFolder(plan);
    if (!report.folderCreated && files.IsLink(folder)) {
        report.failure = StepFailure{FailedStep::FolderIsLink, folder, L""};
        return report;
    }
    if (!report.folderCreated && NeedsProtection(plan, files)) {
        if (!plan.protectExisting) {
            report.failure = StepFailure{FailedStep::FolderUnprotected, folder, L""};
            return report;
        }
        if (const winkit::Win32Result protectedNow = files.Protect(folder, ToSddl(ProtectedFolder()));
            !protectedNow.Ok()) {
            report.failure = StepFailure{FailedStep::ProtectFolder, folder, L"", protectedNow.code};
            return report;
        }
        report.folderProtected = true;
    }

    for (const wchar_t* name : kInstalledFiles) {
        const std::wstring source = plan.sourceFolder + name;
        const std::wstring target = plan.installFolder + name;
        if (files.IsFile(source) && files.SameFile(source, target)) {
            // Setup started from the install folder: copying a file onto itself
            // would at best fail and at worst truncate it.
            report.skipped.push_back(name);
            continue;
        }
        if (const winkit::Win32Result copied = files.CopyReplacing(source, target); !copied.Ok()) {
            StepFailure failure{FailedStep::CopyFile, target, source, copied.code};
            if (!files.IsFile(source))
                failure.problem = CopyProblem::SourceMissing;
            else if (InUse(copied.code))
                failure.problem = CopyProblem::TargetInUse;
            report.failure = failure;
            return report;
        }
        report.copied.push_back(name);
    }

    for (const RegistryWrite& write : PlannedRegistryWrites(plan)) {
        const registry::Status status =
            write.type == registry::kTypeDword
                ? registry::SaveDword(backend, registry::Root::LocalMachine, write.key, write.value, write.number)
                : registry::SaveString(backend, registry::Root::LocalMachine, write.key, write.value, write.text);
        Record(report.registryFailures, write.key, write.value, status);
    }
    return report;
}

UninstallReport RunUninstall(registry::Backend& backend) {
    using registry::Root;
    UninstallReport report;
    auto note = [&report](const wchar_t* key, const wchar_t* value, registry::Status status) {
        // Nothing to remove is no failure: Uninstall may run without an installation.
        if (status.code != winkit::kErrorFileNotFound) Record(report.failures, key, value, status);
    };
    note(registry::kRunKey, registry::kRunValue,
         registry::DeleteValue(backend, Root::LocalMachine, registry::kRunKey, registry::kRunValue));
    if (const auto user = registry::DeleteValue(backend, Root::CurrentUser, registry::kRunKey, registry::kRunValue);
        !user.Ok() && user.code != winkit::kErrorFileNotFound)
        report.failures.push_back({registry::kRunKey, registry::kRunValue, user.code, Root::CurrentUser});
    note(registry::kUninstallKey, L"(whole key)",
         registry::DeleteKey(backend, Root::LocalMachine, registry::kUninstallKey));
    note(registry::kSettingsKey, L"(whole key)",
         registry::DeleteKey(backend, Root::LocalMachine, registry::kSettingsKey));
    return report;
}

std::wstring FailureText(const InstallPlan& plan, const InstallReport& report, const winkit::ReasonText& reason) {
    const std::wstring retry = L"\n\nPlease correct the folder and press Install again.";
    if (report.failure) {
        const StepFailure& f = *report.failure;
        switch (f.step) {
        case FailedStep::CreateFolder:
            return L"Installation stopped: the folder could not be created.\n\nFolder: " + f.path +
                   L"\nReason: " + reason(f.error) +
                   L"\n\nSetup creates one folder level only; the folder above it must exist.\n" +
                   AlreadyDone(plan, report) + retry;
        case FailedStep::FolderIsLink:
            return L"Installation stopped: " + f.path +
                   L" is a link (a junction or symbolic link) to another place.\n\nSetup installs only into a real "
                   L"folder, so that nobody can redirect the programs that start for every user.\n" +
                   AlreadyDone(plan, report) + retry;
        case FailedStep::FolderUnprotected:
            return L"Installation stopped: " + f.path +
                   L" can be changed by users without administrator rights.\n" + AlreadyDone(plan, report) + retry;
        case FailedStep::ProtectFolder:
            return L"Installation stopped: Setup could not allow only administrators to change the folder.\n\n"
                   L"Folder: " +
                   f.path + L"\nReason: " + reason(f.error) + L"\n\n" + AlreadyDone(plan, report) + retry;
        case FailedStep::CopyFile:
            switch (f.problem) {
            case CopyProblem::SourceMissing:
                return L"Installation stopped: a file to install is missing beside Setup.\n\nMissing file: " +
                       f.source + L"\nReason: " + reason(f.error) +
                       L"\n\nPut Tolvane.exe, Setup.exe and Readme.txt into one folder and start Setup.exe from "
                       L"there.\n" +
                       AlreadyDone(plan, report);
            case CopyProblem::TargetInUse:
                return L"Installation stopped: " + f.path +
                       L" is in use and cannot be replaced.\n\nReason: " + reason(f.error) +
                       L"\n\nTolvane is probably running. Please exit Tolvane first (right-click its icon in "
                       L"the notification area, then \"Exit Tolvane\") and press Install again.\n" +
                       AlreadyDone(plan, report);
            case CopyProblem::Refused:
                break;
            }
            return L"Installation stopped: a file could not be copied.\n\nFrom: " + f.source + L"\nTo: " + f.path +
                   L"\nReason: " + reason(f.error) + L"\n\n" + AlreadyDone(plan, report) + retry;
        }
    }
    if (!report.registryFailures.empty()) {
        return L"The files are installed in " + plan.installFolder +
               L", but Windows refused these registry entries:\n" +
               RegistryList(report.registryFailures, reason) +
               L"\n\n" + winkit::kAdministratorAdvice +
               L" Please start Setup.exe as administrator and press Install again. Tolvane has not been started.";
    }
    return L"";
}

std::wstring StartFailureText(const StartCommand& start, long error, const winkit::ReasonText& reason) {
    return L"The installation is complete, but Tolvane could not be started.\n\nProgram: " + start.programPath +
           L"\nReason: " + reason(error) +
           L"\n\nAll files were copied and all registry entries were written. You can start Tolvane.exe "
           L"yourself.";
}

std::wstring UninstallFailureText(const UninstallReport& report, const winkit::ReasonText& reason) {
    return L"Windows refused to remove these registry entries:\n" + RegistryList(report.failures, reason) +
           L"\n\n" + winkit::kAdministratorAdvice +
           L" Please start Setup.exe as administrator and press Uninstall again.";
}

}  // namespace setup
