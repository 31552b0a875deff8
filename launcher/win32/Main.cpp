#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "Autostart.h"
#include "MainWindow.h"
#include "Program.h"
#include "Registry.h"
#include "Settings.h"
#include "SingleLauncher.h"

namespace {

// The arguments after the program's name. Here rather than in winkit, so that
// Setup, which reads no command line, does not import shell32 for it.
std::vector<std::wstring> ProgramArguments() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> result;
    if (arguments == nullptr) return result;
    for (int i = 1; i < count; ++i) result.emplace_back(arguments[i]);
    LocalFree(arguments);
    return result;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    winkit::RestrictDllSearchToSystemFolder();
    switch (launcher::StartModeFor(ProgramArguments())) {
    case launcher::StartMode::RemoveMachineAutostart:
        return static_cast<int>(launcher::RemoveMachineAutostart(registry::SystemBackend()));
    case launcher::StartMode::Refused:
        return static_cast<int>(winkit::kErrorInvalidParameter);
    case launcher::StartMode::Tray:
        break;
    }
    launcher::SingleLauncher single;
    if (!single.Claim()) return 0;
    launcher::AdoptVirtualizedSettings(registry::SystemBackend());
    if (!launcher::MainWindow::Instance().Open()) return 1;
    return winkit::RunMessageLoop();
}
