#include <windows.h>

#include "Forms.h"
#include "MainForm.h"
#include "Program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    winkit::RestrictDllSearchToSystemFolder();
    launcher::SetInstance(instance);
    if (!launcher::Form1::Instance().Load()) return 1;
    return winkit::RunMessageLoop();
}
