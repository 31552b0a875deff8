#include "Install.h"

#include "../../version/Version.h"
#include "CommandLine.h"
#include "RegistryLayout.h"

namespace setup {

namespace {

bool EndsWithBackslash(const std::wstring& text) { return !text.empty() && text.back() == L'\\'; }

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

std::wstring RegistryList(const std::vector<RegistryFailure>& failures, const ReasonText& reason) {
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

std::optional<std::wstring> RefuseFolderText(const std::wstring& typedText) {
    if (typedText.find_first_not_of(L" \t\\") != std::wstring::npos) return std::nullopt;
    return std::wstring(L"Please type the folder that Tolvane is to be installed to, for example ") +
           kInitialFolderText +
           L"\n\nAn empty folder name (or \"\\\" alone) would put the files into the root of the current drive.";
}

InstallPlan MakeInstallPlan(const std::wstring& typedText, const std::wstring& programFolder, bool autostart) {
    InstallPlan plan;
    plan.typedText = typedText;
    plan.searchPattern = ExistenceSearchPattern(typedText);
    plan.folderToCreate = CutTrailingBackslash(typedText);
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
    writes.push_back({registry::kUninstallKey, kDisplayIconValue, kTypeSz, launcher});
    writes.push_back({registry::kUninstallKey, kDisplayVersionValue, kTypeSz, TOLVANE_WIDEN(TOLVANE_VERSION_TEXT)});
    writes.push_back({registry::kUninstallKey, kPublisherValue, kTypeSz, TOLVANE_WIDEN(TOLVANE_COMPANY_NAME)});
    writes.push_back({registry::kUninstallKey, kInstallLocationValue, kTypeSz, plan.installFolder});
    writes.push_back({registry::kUninstallKey, kNoModifyValue, kTypeDword, L"", 1});
    writes.push_back({registry::kUninstallKey, kNoRepairValue, kTypeDword, L"", 1});
    return writes;
}

StartCommand LauncherStart(const InstallPlan& plan) {
    StartCommand start;
    start.programPath = plan.installFolder + kLauncherFile;
    // The first token of a command line is the program; quoted it stays one token.
    start.commandLine = L"\"" + start.programPath + L"\"";
    start.workingFolder = plan.installFolder;
    start.showState = kLauncherShowState;
    return start;
}

InstallReport RunInstall(const InstallPlan& plan, FileService& files, registry::Backend& backend) {
    InstallReport report;
    if (files.FirstMatch(plan.searchPattern).empty()) {
        const winkit::Win32Result created = files.CreateFolder(plan.folderToCreate);
        // An existing but empty folder typed with its "\" has no first entry;
        // it is there all the same.
        if (created.Ok()) {
            report.folderCreated = true;
        } else if (!(created.code == winkit::kErrorAlreadyExists && files.IsFolder(plan.folderToCreate))) {
            report.failure = StepFailure{FailedStep::CreateFolder, plan.folderToCreate, L"", created.code};
            return report;
        }
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
        ++report.registryWrites;
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

std::wstring FailureText(const InstallPlan& plan, const InstallReport& report, const ReasonText& reason) {
    const std::wstring retry = L"\n\nPlease correct the folder and press Install again.";
    if (report.failure) {
        const StepFailure& f = *report.failure;
        switch (f.step) {
        case FailedStep::CreateFolder:
            return L"Installation stopped: the folder could not be created.\n\nFolder: " + f.path +
                   L"\nReason: " + reason(f.error) +
                   L"\n\nSetup creates one folder level only; the folder above it must exist.\n" +
                   AlreadyDone(plan, report) + retry;
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

std::wstring StartFailureText(const StartCommand& start, long error, const ReasonText& reason) {
    return L"The installation is complete, but Tolvane could not be started.\n\nProgram: " + start.programPath +
           L"\nReason: " + reason(error) +
           L"\n\nAll files were copied and all registry entries were written. You can start Tolvane.exe "
           L"yourself.";
}

std::wstring UninstallFailureText(const UninstallReport& report, const ReasonText& reason) {
    return L"Windows refused to remove these registry entries:\n" + RegistryList(report.failures, reason) +
           L"\n\n" + winkit::kAdministratorAdvice +
           L" Please start Setup.exe as administrator and press Uninstall again.";
}

}  // namespace setup
