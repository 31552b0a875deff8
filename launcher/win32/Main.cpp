#include <windows.h>

#include "MainWindow.h"
#include "Program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    winkit::RestrictDllSearchToSystemFolder();
    if (!launcher::MainWindow::Instance().Open()) return 1;
    return winkit::RunMessageLoop();
}
