#include <windows.h>

#include "DesktopLaunchers.h"
#include "Error.h"
#include "Flow.h"
#include "InstallTexts.h"
#include "LogFile.h"
#include "MessageFront.h"
#include "Process.h"
#include "Program.h"
#include "Registry.h"
#include "SetupTexts.h"
#include "SetupWindow.h"
#include "Win32Files.h"
#include "Win32RestartManager.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace setup;
    // Setup is typically started from a downloads folder, where a planted DLL
    // would sit right beside it: restrict the search before anything loads.
    winkit::RestrictDllSearchToSystemFolder();
    // The log stays English; the window and the messages speak the user's language.
    UseLanguage(winkit::LanguageForUi(GetUserDefaultUILanguage()));
    winkit::UseNumberedErrorText(ErrorNumberText);
    // Held from here on: the Setup.exe it installs is the one that runs.
    const OwnProgram ownProgram = OpenOwnProgram();
    const SwitchesOrError parsed = ParseSwitches(winkit::ProgramArguments());
    const Switches& switches = parsed.switches;
    if (!parsed.error.empty()) {
        if (!switches.silent)
            winkit::ShowInformation(
                nullptr, Format(TextId::SwitchesNotUnderstood, {parsed.error, Text(TextId::SwitchesHelp)}),
                Text(TextId::Title));
        return kExitBadSwitch;
    }
    if (switches.help) {
        if (!switches.silent) winkit::ShowInformation(nullptr, Text(TextId::SwitchesHelp), Text(TextId::Title));
        return kExitSuccess;
    }
    // Opened before anything is done, and kept: a log that cannot be written
    // is found out while there is still nothing to undo.
    LogFile logFile;
    NoLog noLog;
    Log* log = &noLog;
    if (switches.log) {
        if (const std::wstring refused = logFile.Open(*switches.log, winkit::SystemMessage); !refused.empty()) {
            if (!switches.silent) winkit::ShowInformation(nullptr, refused, Text(TextId::Title));
            return kExitLogFailed;
        }
        log = &logFile;
    }
    if (switches.silent || switches.uninstall) {
        // Messages only for an Uninstall asked for without /S.
        SilentFront silent;
        MessageFront messages(nullptr);
        Front& front = switches.silent ? static_cast<Front&>(silent) : messages;
        DesktopLaunchers desktop;
        if (switches.uninstall)
            return UninstallFlow(registry::SystemBackend(), desktop, winkit::ProgramPath(), front, *log,
                                 winkit::SystemMessage)
                .exitCode;
        Win32Files files(ownProgram);
        Win32RestartManager manager;
        return InstallFlow({switches.folder.value_or(kInitialFolderText), switches.autostart}, ShippedSources(), files,
                           registry::SystemBackend(), {manager, desktop}, front, *log, winkit::SystemMessage)
            .exitCode;
    }
    // No InitCommonControls: the manifest's activation context brings in the
    // system's comctl32 v6 for the standard controls, and loading it up front
    // costs a third of the time to the first window.
    if (!SetupWindow::Instance().Open(switches, *log, ownProgram)) return kExitFailed;
    return winkit::RunMessageLoop();
}
