#include "Flow.h"

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

void LogSteps(StepLog& log, const InstallPlan& plan, const InstallReport& report) {
    if (report.folderCreated) log.Line(L"Created the folder " + plan.folderToCreate + L", administrators only");
    if (report.folderProtected)
        log.Line(L"Protected the existing folder " + plan.folderToCreate +
                 L": users without administrator rights could change it");
    for (const std::wstring& name : report.skipped)
        log.Line(L"Kept " + plan.installFolder + name + L" (Setup runs from there)");
    for (const std::wstring& name : report.copied)
        log.Line(L"Copied " + plan.sourceFolder + name + L" to " + plan.installFolder + name);
    // A stopped installation wrote no registry entry.
    if (report.failure) return;
    for (const RegistryWrite& write : PlannedRegistryWrites(plan)) {
        const bool refused = std::any_of(report.registryFailures.begin(), report.registryFailures.end(),
                                         [&write](const RegistryFailure& f) {
                                             return f.key == write.key && f.value == write.value;
                                         });
        log.Line(std::wstring(refused ? L"Refused: " : L"Wrote ") + L"HKEY_LOCAL_MACHINE\\" + write.key + L" \"" +
                 write.value + L"\"");
    }
}

void LogResult(StepLog& log, int code, const std::wstring& what) {
    log.Line(L"Result: " + winkit::Decimal(static_cast<unsigned>(code)) + L" " + what);
}

// A run that did everything else but lost log lines is no success: the
// record that was asked for is missing. A failed step says more.
FlowResult Ended(const StepLog& log, Front& front, const winkit::ReasonText& reason, FlowResult result) {
    const winkit::Win32Result& failure = log.Failure();
    if (failure.Ok()) return result;
    front.Tell(L"The log is incomplete: " + failure.operation + L".\nReason: " + reason(failure.code) +
                   L"\n\nWhat Setup did after that is not in the log.",
               kTitle);
    if (result.exitCode == kExitSuccess) result.exitCode = kExitLogFailed;
    return result;
}

std::wstring NoDesktopText(const InstallPlan& plan) {
    return L"Installation is finished. Setup found no desktop to start Tolvane as you (it does not start it with "
           L"its administrator rights), so please start Tolvane from its folder, " +
           plan.installFolder + L". See 'readme.txt' for more information on the program.";
}

}  // namespace

FlowResult InstallFlow(const InstallRequest& request, const std::wstring& programFolder, FileService& files,
                       registry::Backend& backend, Front& front, Log& destination, const winkit::ReasonText& reason) {
    StepLog log(destination);
    const std::wstring& text = request.folderText;
    log.Line(L"Install to " + text + (request.autostart ? L", starting for every user at logon" : L""));
    const std::wstring fullPath = files.FullPath(text);
    if (const auto refusal = RefuseFolderText(text, fullPath, files.KindOfDrive(fullPath))) {
        LogResult(log, kExitBadSwitch, L"the folder cannot be used: " + FirstParagraph(*refusal));
        front.Tell(*refusal, kNotFinishedTitle);
        return Ended(log, front, reason, {Outcome::FolderRefused, kExitBadSwitch});
    }
    InstallPlan plan = MakeInstallPlan(fullPath, programFolder, request.autostart);
    if (NeedsProtection(plan, files)) {
        if (!front.MayProtect(ProtectQuestion(plan))) {
            // Only the window asks, and it stays open for another try: no result yet.
            log.Line(L"Not installed: the answer to \"" + std::wstring(kProtectTitle) + L"\" was No");
            return Ended(log, front, reason, {Outcome::Declined, kExitFailed});
        }
        plan.protectExisting = true;
    }

    const InstallReport report = RunInstall(plan, files, backend);
    LogSteps(log, plan, report);
    if (!report.Complete()) {
        const std::wstring failure = FailureText(plan, report, reason);
        LogResult(log, kExitFailed, L"not installed: " + FirstParagraph(failure));
        front.Tell(failure, kNotFinishedTitle);
        return Ended(log, front, reason, {Outcome::Failed, kExitFailed});
    }

    // Started as the desktop's user, in its own folder: Setup runs elevated,
    // and a resident program keeps its current folder in use.
    Outcome outcome = Outcome::Installed;
    UserStarter* starter = front.Starter();
    if (starter == nullptr) {
        log.Line(L"Tolvane was not started: a silent installation leaves that to the next logon");
    } else if (!starter->Available()) {
        log.Line(L"Tolvane was not started: Setup found no desktop to start it as the signed-in user");
        front.Tell(NoDesktopText(plan), kFinishedTitle);
    } else {
        front.Tell(kFinishedText, kFinishedTitle);
        const StartCommand start = LauncherStart(plan);
        if (const winkit::Win32Result started = starter->Start(start); started.Ok()) {
            log.Line(L"Started " + start.programPath + L" as the desktop's user");
        } else {
            log.Line(L"Could not start " + start.programPath + L": " + reason(started.code));
            front.Tell(StartFailureText(start, started.code, reason), kNotStartedTitle);
            outcome = Outcome::InstalledNotStarted;
        }
    }
    LogResult(log, kExitSuccess, L"installed");
    return Ended(log, front, reason, {outcome, kExitSuccess});
}

FlowResult UninstallFlow(registry::Backend& backend, Front& front, Log& destination,
                         const winkit::ReasonText& reason) {
    StepLog log(destination);
    const UninstallReport report = RunUninstall(backend);
    if (!report.Complete()) {
        const std::wstring failure = UninstallFailureText(report, reason);
        LogResult(log, kExitFailed, L"not uninstalled: " + FirstParagraph(failure));
        front.Tell(failure, kUninstallNotFinishedTitle);
        return Ended(log, front, reason, {Outcome::NotUninstalled, kExitFailed});
    }
    log.Line(L"Removed the registry entries; the files stay");
    LogResult(log, kExitSuccess, L"uninstalled");
    front.Tell(kUninstalledText, kUninstalledTitle);
    return Ended(log, front, reason, {Outcome::Uninstalled, kExitSuccess});
}

std::wstring LogOpenFailureText(const winkit::Win32Result& failure, const winkit::ReasonText& reason) {
    return L"Setup cannot write its log, so it has changed nothing.\n\n" + failure.operation +
           L"\nReason: " + reason(failure.code) +
           L"\n\nPlease name a file in a folder that exists and that you may write to, for example "
           L"/LOG=C:\\Logs\\Tolvane.log";
}

}  // namespace setup
