#include "Unattended.h"

#include <algorithm>

#include "Decimal.h"

namespace setup {

namespace {

// A message's first paragraph, for a log line.
std::wstring FirstParagraph(const std::wstring& text) {
    std::wstring line = text.substr(0, text.find(L"\n\n"));
    std::replace(line.begin(), line.end(), L'\n', L' ');
    return line;
}

UnattendedResult Finish(UnattendedResult result, StepLog& log, int code, const std::wstring& what) {
    log.Line(L"Result: " + winkit::Decimal(static_cast<unsigned>(code)) + L" " + what);
    result.logFailure = log.Failure();
    // A failed step says more than the missing log lines; success without
    // the record that was asked for is no success.
    result.exitCode = code == kExitSuccess && !result.logFailure.Ok() ? kExitLogFailed : code;
    return result;
}

}  // namespace

std::vector<std::wstring> InstallLog(const InstallPlan& plan, const InstallReport& report) {
    std::vector<std::wstring> log;
    if (report.folderCreated) log.push_back(L"Created the folder " + plan.folderToCreate + L", administrators only");
    if (report.folderProtected)
        log.push_back(L"Protected the existing folder " + plan.folderToCreate +
                      L": users without administrator rights could change it");
    for (const std::wstring& name : report.skipped) log.push_back(L"Kept " + plan.installFolder + name + L" (Setup runs from there)");
    for (const std::wstring& name : report.copied)
        log.push_back(L"Copied " + plan.sourceFolder + name + L" to " + plan.installFolder + name);
    if (report.failure) return log;
    for (const RegistryWrite& write : PlannedRegistryWrites(plan)) {
        const bool refused = std::any_of(report.registryFailures.begin(), report.registryFailures.end(),
                                         [&write](const RegistryFailure& f) {
                                             return f.key == write.key && f.value == write.value;
                                         });
        log.push_back(std::wstring(refused ? L"Refused: " : L"Wrote ") + L"HKEY_LOCAL_MACHINE\\" + write.key +
                      L" \"" + write.value + L"\"");
    }
    return log;
}

UnattendedResult InstallUnattended(const Switches& switches, const std::wstring& programFolder, FileService& files,
                                   registry::Backend& backend, Log& destination, const ReasonText& reason) {
    UnattendedResult result;
    StepLog log(destination);
    const std::wstring text = switches.folder.value_or(kInitialFolderText);
    const std::wstring fullPath = files.FullPath(text);
    log.Line(L"Install to " + text + (switches.autostart ? L", starting for every user at logon" : L""));
    if (auto refusal = RefuseFolderText(text, fullPath, files.KindOfDrive(fullPath)))
        return Finish(result, log, kExitBadSwitch, L"the folder cannot be used: " + FirstParagraph(*refusal));
    InstallPlan plan = MakeInstallPlan(fullPath, programFolder, switches.autostart);
    // Nobody is there to ask; whoever runs Setup silently has chosen the folder.
    plan.protectExisting = NeedsProtection(plan, files);
    const InstallReport report = RunInstall(plan, files, backend);
    for (const std::wstring& line : InstallLog(plan, report)) log.Line(line);
    if (!report.Complete())
        return Finish(result, log, kExitFailed,
                      L"not installed: " + FirstParagraph(FailureText(plan, report, reason)));
    log.Line(L"Tolvane was not started: a silent installation leaves that to the next logon");
    return Finish(result, log, kExitSuccess, L"installed");
}

UnattendedResult UninstallUnattended(registry::Backend& backend, Log& destination, const ReasonText& reason) {
    UnattendedResult result;
    StepLog log(destination);
    const UninstallReport report = RunUninstall(backend);
    if (!report.Complete()) {
        result.message = UninstallFailureText(report, reason);
        return Finish(result, log, kExitFailed, L"not uninstalled: " + FirstParagraph(result.message));
    }
    result.message = kUninstalledText;
    log.Line(L"Removed the registry entries; the files stay");
    return Finish(result, log, kExitSuccess, L"uninstalled");
}

std::wstring LogOpenFailureText(const winkit::Win32Result& failure, const ReasonText& reason) {
    return L"Setup cannot write its log, so it has changed nothing.\n\n" + failure.operation +
           L"\nReason: " + reason(failure.code) +
           L"\n\nPlease name a file in a folder that exists and that you may write to, for example "
           L"/LOG=C:\\Logs\\Tolvane.log";
}

std::wstring LogWriteFailureText(const winkit::Win32Result& failure, const ReasonText& reason) {
    return L"The log is incomplete: " + failure.operation + L".\nReason: " + reason(failure.code) +
           L"\n\nWhat Setup did after that is not in the log.";
}

}  // namespace setup
