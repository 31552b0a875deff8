#include <windows.h>

#include "MainWindow.h"
#include "Program.h"
#include "Registry.h"
#include "Settings.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    winkit::RestrictDllSearchToSystemFolder();
    launcher::AdoptVirtualizedSettings(registry::SystemBackend());
    if (!launcher::MainWindow::Instance().Open()) return 1;
    return winkit::RunMessageLoop();
}
