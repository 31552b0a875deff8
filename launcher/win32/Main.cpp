#include <windows.h>

#include "Autostart.h"
#include "MainWindow.h"
#include "Process.h"
#include "Program.h"
#include "Registry.h"
#include "Settings.h"
#include "SingleLauncher.h"
#include "SingleStart.h"
#include "LauncherTexts.h"
#include "Error.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    winkit::RestrictDllSearchToSystemFolder();
    launcher::UseLanguage(launcher::LanguageForUi(GetUserDefaultUILanguage()));
    winkit::UseNumberedErrorText(launcher::ErrorNumberText);
    switch (launcher::StartModeFor(winkit::ProgramArguments())) {
    case launcher::StartMode::RemoveMachineAutostart:
        return static_cast<int>(launcher::RemoveMachineAutostart(registry::SystemBackend()));
    case launcher::StartMode::Refused:
        return static_cast<int>(winkit::kErrorInvalidParameter);
    case launcher::StartMode::Tray:
        break;
    }
    launcher::SingleLauncher single;
    switch (single.Claim()) {
    case launcher::SingleLauncher::Outcome::First:
        break;
    case launcher::SingleLauncher::Outcome::AnotherRuns:
        return 0;
    case launcher::SingleLauncher::Outcome::NameHeld:
        winkit::ShowInformation(nullptr, launcher::NameHeldText(single.Name()), launcher::kLauncherCaption);
        return static_cast<int>(winkit::kErrorAlreadyExists);
    }
    launcher::AdoptVirtualizedSettings(registry::SystemBackend());
    if (!launcher::MainWindow::Instance().Open()) return 1;
    return winkit::RunMessageLoop();
}
