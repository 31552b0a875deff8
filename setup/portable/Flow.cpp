// Flow.h and Restart.h in one translation unit, as Install.cpp holds three
// headers' code: apart, each carries its own copies of the string helpers.
#include "Flow.h"

#include <algorithm>

#include "Decimal.h"
#include "InstallTexts.h"
#include "Join.h"
#include "RegistryLayout.h"
#include "Win32Result.h"

namespace setup {

namespace {

using winkit::Join;

// A message as one log line: paragraphs joined by a blank, lines by "; ".
std::wstring OneLine(const std::wstring& text) {
    std::wstring line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'\n') {
            line += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == L'\n') {
            line += L' ';
            ++i;
        } else {
            line += line.empty() || line.back() == L':' ? L" " : L"; ";
        }
    }
    return line;
}

void LogSteps(StepLog& log, const InstallPlan& plan, const InstallReport& report, const std::wstring& stopped,
              const winkit::ReasonText& reason) {
    if (report.folderCreated) log.Line(Join({L"Created the folder ", plan.folder, L", administrators only"}));
    if (!stopped.empty()) log.Line(stopped);
    for (const std::wstring& name : report.skipped)
        log.Line(Join({L"Kept ", plan.installFolder, name, L" (Setup runs from there)"}));
    for (const std::wstring& name : report.copied)
        log.Line(Join({L"Copied ", name == kSetupFile ? plan.programPath : plan.sourceFolder,
                       name == kSetupFile ? L"" : name, L" to ", plan.installFolder, name}));
    // Values are written only after every file is in place.
    if (!report.failure || report.failure->step == FailedStep::Registry) {
        for (const RegistryWrite& write : PlannedRegistryWrites(plan, report.installedBytes)) {
            const bool refused = std::any_of(report.registryFailures.begin(), report.registryFailures.end(),
                                             [&write](const RegistryFailure& f) {
                                                 return f.key == write.key && f.value == write.value;
                                             });
            log.Line(Join({refused ? L"Refused: " : L"Wrote ", L"HKEY_LOCAL_MACHINE\\", write.key, L" \"", write.value,
                           L"\""}));
        }
    }
    for (const std::wstring& removed : report.removed)
        log.Line(Join({L"Removed ", L"HKEY_LOCAL_MACHINE\\", registry::kRunKey, L" \"", removed, L"\""}));
    for (const UndoneStep& step : report.undone)
        log.Line(step.error == 0 ? Join({L"Undone: ", UndoText(step, Language::English)})
                                 : Join({L"Could not undo: ", UndoText(step, Language::English), L": ",
                                         reason(step.error)}));
}

void LogResult(StepLog& log, int code, const std::wstring& what) {
    log.Line(Join({L"Result: ", winkit::Decimal(static_cast<unsigned>(code)), L" ", what}));
}

// A run that did everything else but lost log lines is no success: the
// record that was asked for is missing. A failed step says more.
FlowResult Ended(const StepLog& log, Front& front, const winkit::ReasonText& reason, FlowResult result) {
    const winkit::Win32Result& failure = log.Failure();
    if (failure.Ok()) return result;
    front.Tell(Format(TextId::LogIncomplete, {failure.operation, reason(failure.code)}), Text(TextId::Title));
    if (result.exitCode == kExitSuccess) result.exitCode = kExitLogFailed;
    return result;
}

std::wstring WithParagraph(const std::wstring& text, const std::wstring& paragraph) {
    return paragraph.empty() ? text : Join({text, L"\n\n", paragraph});
}

// Whether Tolvane's Windows Installer package is installed on this computer,
// and *productCode its product code ("{...}"): Setup does not install beside
// it, since both would own the same machine's values and either's removal
// would take them from the other. Windows Installer lists each installed
// product under its UpgradeCode. In this file, so that its one caller inlines
// it: a function of its own costs the i686 Setup 512 bytes of unwind tables.
bool InstalledPackage(registry::Backend& backend, std::wstring* productCode) {
    // packaging/msi/Tolvane.wxs's UpgradeCode {5B1E3C1A-7D2F-4E8B-9C61-0F4A2D7B9E53},
    // packed as below, in the system's own view (that of the machine's
    // policies): Windows shares Classes\Installer between both views, Wine
    // keeps it in the 64-bit one only. The path goes through *productCode: a
    // string of its own would be built inline.
    productCode->assign(L"Software\\Classes\\Installer\\UpgradeCodes\\A1C3E1B5F2D7B8E4C916F0A4D2B7E935");
    registry::OpenedKey key = registry::KeyOf(backend);
    if (backend.OpenKey(registry::Root::MachinePolicy, *productCode, false, key.Put()) != winkit::kErrorSuccess ||
        backend.EnumValue(key.Get(), 0, productCode) != winkit::kErrorSuccess)
        return false;
    if (productCode->size() != 32) return true;
    // Windows Installer packs a GUID's 32 digits with the first three groups
    // reversed and the two digits of each later byte swapped.
    wchar_t code[38];
    for (unsigned i = 0, at = 0; i < 32; ++i) {
        if (i == 8 || i == 12 || i == 16 || i == 20) code[++at] = L'-';
        code[++at] = (*productCode)[i < 8 ? 7 - i : i < 12 ? 19 - i : i < 16 ? 27 - i : i ^ 1];
    }
    code[0] = L'{';
    code[37] = L'}';
    productCode->assign(code, 38);
    return true;
}

// The launchers are ended once the folder is checked, not for one refused.
class StopBeforeCopy final : public BeforeCopy {
public:
    StopBeforeCopy(Launchers launchers, const InstallPlan& plan) : m_launchers(launchers), m_plan(plan) {}
    void Run() override {
        const bool inPlace = m_plan.movedFrom.empty();
        const std::wstring target = m_plan.installFolder + kLauncherFile;
        stop = StopLaunchers(m_launchers.manager, m_launchers.desktop,
                             inPlace ? std::vector<std::wstring>{target}
                                     : std::vector<std::wstring>{target, m_plan.movedFrom + kLauncherFile},
                             inPlace);
        ran = true;
    }
    LauncherStop stop;
    bool ran = false;

private:
    Launchers m_launchers;
    const InstallPlan& m_plan;
};

}  // namespace

LauncherStop StopLaunchers(RestartManager& manager, RunningLaunchers& desktop,
                           const std::vector<std::wstring>& programs, bool restartable) {
    LauncherStop stop;
    unsigned count = 0;
    bool here = false;
    long error = manager.Start();
    if (error == 0) error = manager.Register(programs);
    if (error == 0) error = manager.Users(&count, &here);
    if (error == 0 && count > 0) {
        error = manager.Shutdown();
        // Those it did end it also starts again; the rest are asked below.
        if (error == 0 || error == kErrorFailShutdown || error == kErrorFailNoActionReboot) {
            stop.managerEnded = count;
            stop.inThisSession = here;
            stop.restart = restartable;
        }
    }
    stop.managerError = error;
    // What the Restart Manager could not end, or did not see (Wine's lists
    // no process), on this desktop.
    stop.desktop = desktop.EndAll(programs);
    return stop;
}

long RestartLaunchers(RestartManager& manager, const LauncherStop& stop) {
    return stop.restart ? manager.Restart() : 0;
}

bool DesktopStartNeeded(const LauncherStop& stop, long restartError) {
    // One ended on this desktop by the close message did not end through the
    // Restart Manager, which therefore does not start it again.
    return !(stop.restart && stop.inThisSession && restartError == 0 && stop.desktop.ended == 0);
}

std::wstring LauncherStopText(const LauncherStop& stop, const winkit::ReasonText& reason) {
    const bool refused = stop.managerError != 0;
    std::wstring text = winkit::Join({stop.managerEnded > 0 ? L"The Restart Manager ended Tolvane in every session. " : L"",
                                      refused ? L"The Restart Manager: " : L"",
                                      refused ? reason(stop.managerError) + L" " : std::wstring(),
                                      LaunchersEndedText(stop.desktop, Language::English)});
    if (!text.empty() && text.back() == L' ') text.pop_back();
    return text;
}

FlowResult InstallFlow(const InstallRequest& request, const Sources& sources, FileService& files,
                       registry::Backend& backend, Launchers launchers, Front& front, Log& destination,
                       const winkit::ReasonText& reason) {
    StepLog log(destination);
    const std::wstring& text = request.folderText;
    log.Line(Join({L"Install to ", text, request.autostart ? L", starting for every user at logon" : L""}));
    const std::wstring fullPath = files.FullPath(text);
    std::wstring package;
    const bool packaged = InstalledPackage(backend, &package);
    const DriveKind drive = files.KindOfDrive(fullPath);
    auto refusal = [&](Language language) {
        return packaged ? FormatIn(language, TextId::MsiInstalled, {package})
                        : RefuseFolderText(text, fullPath, drive, language);
    };
    if (const auto logged = refusal(Language::English)) {
        const int code = packaged ? kExitFailed : kExitBadSwitch;
        LogResult(log, code, Join({packaged ? L"not installed: " : L"the folder cannot be used: ", OneLine(*logged)}));
        front.Tell(*refusal(CurrentLanguage()), Text(TextId::NotFinishedTitle));
        return Ended(log, front, reason, {packaged ? Outcome::Failed : Outcome::FolderRefused, code});
    }
    // Short names expanded before they could reach the Run value or the uninstall entry.
    InstallPlan plan = MakeInstallPlan(files.LongPath(fullPath), sources.programPath, request.autostart);
    // One installation per computer: another folder moves it.
    if (const std::wstring installed = InstalledFolder(backend);
        !installed.empty() && !files.SamePath(installed, plan.installFolder)) {
        if (!front.Ask(MoveQuestion(installed, plan.installFolder), Text(TextId::Title))) {
            LogResult(log, kExitUserExit, L"not installed: the installation stays where it is");
            return Ended(log, front, reason, {Outcome::MoveDeclined, kExitUserExit});
        }
        log.Line(Join({L"Moving the installation from ", installed}));
        plan.movedFrom = installed;
    }

    StopBeforeCopy stopper(launchers, plan);
    const InstallReport report = RunInstall(plan, sources, files, backend, &stopper);
    LogSteps(log, plan, report, stopper.ran ? LauncherStopText(stopper.stop, reason) : std::wstring(), reason);
    // After an undo too: it put the earlier files back.
    const long restartError = RestartLaunchers(launchers.manager, stopper.stop);
    if (stopper.stop.restart)
        log.Line(Join({L"The Restart Manager's start of Tolvane: ", reason(restartError)}));
    if (!report.Complete()) {
        LogResult(log, kExitFailed,
                  Join({L"not installed: ", OneLine(FailureText(plan, report, reason, Language::English).text)}));
        const Explanation failure = FailureText(plan, report, reason, CurrentLanguage());
        front.Tell(WithParagraph(failure.text, failure.advice), Text(TextId::NotFinishedTitle));
        return Ended(log, front, reason, {Outcome::Failed, kExitFailed});
    }

    // Started as the desktop's user, in its own folder: Setup runs elevated,
    // and a resident program keeps its current folder in use.
    Outcome outcome = Outcome::Installed;
    if (!plan.movedFrom.empty()) log.Line(MovedText(plan, Language::English));
    UserStarter* starter = front.Starter();
    if (!DesktopStartNeeded(stopper.stop, restartError)) {
        front.Tell(FinishedText(plan), Text(TextId::FinishedTitle));
    } else if (starter == nullptr) {
        // Deployment tools run as SYSTEM or before anyone has logged on.
        log.Line(request.autostart ? L"Tolvane was not started: it starts at each user's next logon"
                                   : L"Tolvane was not started: a silent installation starts nothing");
    } else if (!starter->Available()) {
        log.Line(L"Tolvane was not started: Setup found no desktop to start it as the signed-in user");
        front.Tell(Format(TextId::FinishedNoDesktop, {plan.installFolder}), Text(TextId::FinishedTitle));
    } else {
        front.Tell(FinishedText(plan), Text(TextId::FinishedTitle));
        const StartCommand start = LauncherStart(plan);
        if (const winkit::Win32Result started = starter->Start(start); started.Ok()) {
            log.Line(Join({L"Started ", start.programPath, L" as the desktop's user"}));
        } else {
            log.Line(Join({L"Could not start ", start.programPath, L": ", reason(started.code)}));
            front.Tell(StartFailureText(start, started.code, reason), Text(TextId::NotStartedTitle));
            outcome = Outcome::InstalledNotStarted;
        }
    }
    LogResult(log, kExitSuccess, L"installed");
    return Ended(log, front, reason, {outcome, kExitSuccess});
}

FlowResult UninstallFlow(registry::Backend& backend, RunningLaunchers& launchers, const std::wstring& setupProgramPath,
                         Front& front, Log& destination, const winkit::ReasonText& reason) {
    StepLog log(destination);
    const UninstallReport report = RunUninstall(backend, launchers, setupProgramPath);
    if (const std::wstring logged = LaunchersEndedText(report.launchers, Language::English); !logged.empty())
        log.Line(logged);
    const std::wstring ended = LaunchersEndedText(report.launchers, CurrentLanguage());
    if (!report.Complete()) {
        LogResult(log, kExitFailed,
                  Join({L"not uninstalled: ", OneLine(UninstallFailureText(report, reason, Language::English))}));
        const std::wstring failure = UninstallFailureText(report, reason, CurrentLanguage());
        front.Tell(WithParagraph(failure, ended), Text(TextId::UninstallNotFinishedTitle));
        return Ended(log, front, reason, {Outcome::NotUninstalled, kExitFailed});
    }
    log.Line(L"Removed the registry entries; the files stay");
    LogResult(log, kExitSuccess, L"uninstalled");
    front.Tell(WithParagraph(Text(TextId::Uninstalled), ended), Text(TextId::UninstalledTitle));
    return Ended(log, front, reason, {Outcome::Uninstalled, kExitSuccess});
}

}  // namespace setup
