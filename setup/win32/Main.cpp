#include <windows.h>

#include <string>
#include <vector>

#include "Error.h"
#include "Install.h"
#include "LogFile.h"
#include "Process.h"
#include "Program.h"
#include "Registry.h"
#include "SetupWindow.h"
#include "Unattended.h"
#include "Win32Files.h"

namespace {

// Split by the usual rules (CommandLineToArgvW). shell32 is loaded only when
// there is something after the program's name: as an import it would be
// loaded with every start of the window.
std::vector<std::wstring> Arguments() {
    const wchar_t* line = GetCommandLineW();
    // The program's name: quoted, or up to the first blank.
    const wchar_t* rest = line;
    if (*rest == L'"') {
        for (++rest; *rest != L'\0' && *rest != L'"'; ++rest) {
        }
        if (*rest == L'"') ++rest;
    } else {
        while (*rest != L'\0' && *rest != L' ' && *rest != L'\t') ++rest;
    }
    while (*rest == L' ' || *rest == L'\t') ++rest;
    std::vector<std::wstring> arguments;
    if (*rest == L'\0') return arguments;
    using SplitFn = LPWSTR*(WINAPI*)(LPCWSTR, int*);
    HMODULE shell32 = LoadLibraryW(L"shell32.dll");
    const auto split = shell32 != nullptr ? reinterpret_cast<SplitFn>(reinterpret_cast<void*>(
                                                GetProcAddress(shell32, "CommandLineToArgvW")))
                                          : nullptr;
    int count = 0;
    LPWSTR* argv = split != nullptr ? split(line, &count) : nullptr;
    // Not understood rather than ignored: an argument was given.
    if (argv == nullptr) return {rest};
    for (int i = 1; i < count; ++i) arguments.emplace_back(argv[i]);
    LocalFree(argv);
    return arguments;
}

std::wstring Reason(long error) { return winkit::SystemMessage(error); }

// Install or Uninstall without the window; messages only for an Uninstall
// asked for without /S.
int RunWithoutWindow(const setup::Switches& switches, setup::Log& log) {
    using namespace setup;
    UnattendedResult result;
    if (switches.uninstall) {
        result = UninstallUnattended(registry::SystemBackend(), log, Reason);
    } else {
        Win32Files files;
        result = InstallUnattended(switches, winkit::ProgramFolder(), files, registry::SystemBackend(), log, Reason);
    }
    if (!switches.silent) {
        winkit::ShowInformation(nullptr, result.message,
                                result.exitCode == kExitFailed ? kUninstallNotFinishedTitle : kUninstalledTitle);
        if (!result.logFailure.Ok())
            winkit::ShowInformation(nullptr, LogWriteFailureText(result.logFailure, Reason), kTitle);
    }
    return result.exitCode;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace setup;
    // Setup is typically started from a downloads folder, where a planted DLL
    // would sit right beside it: restrict the search before anything loads.
    winkit::RestrictDllSearchToSystemFolder();
    const SwitchesOrError parsed = ParseSwitches(Arguments());
    const Switches& switches = parsed.switches;
    if (!parsed.error.empty()) {
        if (!switches.silent)
            winkit::ShowInformation(nullptr, L"Setup did not understand its command line: " + parsed.error +
                                                 L"\n\n" + kSwitchesHelp,
                                    kTitle);
        return kExitBadSwitch;
    }
    if (switches.help) {
        if (!switches.silent) winkit::ShowInformation(nullptr, kSwitchesHelp, kTitle);
        return kExitSuccess;
    }
    // Opened before anything is done, and kept: a log that cannot be written
    // is found out while there is still nothing to undo.
    LogFile logFile;
    NoLog noLog;
    Log* log = &noLog;
    if (switches.log) {
        if (const winkit::Win32Result opened = logFile.Open(*switches.log); !opened.Ok()) {
            if (!switches.silent) winkit::ShowInformation(nullptr, LogOpenFailureText(opened, Reason), kTitle);
            return kExitLogFailed;
        }
        log = &logFile;
    }
    if (switches.silent || switches.uninstall) return RunWithoutWindow(switches, *log);
    // No InitCommonControls: the manifest's activation context brings in the
    // system's comctl32 v6 for the standard controls, and loading it up front
    // costs a third of the time to the first window.
    if (!SetupWindow::Instance().Open(switches, *log)) return kExitFailed;
    return winkit::RunMessageLoop();
}
