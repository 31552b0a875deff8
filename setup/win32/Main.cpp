#include <windows.h>

#include "Program.h"
#include "SetupWindow.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Setup is typically started from a downloads folder, where a planted DLL
    // would sit right beside it: restrict the search before anything loads.
    winkit::RestrictDllSearchToSystemFolder();
    // No InitCommonControls: the manifest's activation context brings in the
    // system's comctl32 v6 for the standard controls, and loading it up front
    // costs a third of the time to the first window.
    if (!setup::SetupWindow::Instance().Open()) return 1;
    return winkit::RunMessageLoop();
}
