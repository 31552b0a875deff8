#include <windows.h>
#include <commctrl.h>

#include "Program.h"
#include "SetupForm.h"

namespace {

// comctl32 is loaded at run time (after the restriction above) rather than
// imported, so that the loader never searches Setup's folder for it.
void InitCommonControls6() {
    HMODULE comctl = LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (comctl == nullptr) comctl = LoadLibraryW(L"comctl32.dll");
    if (comctl == nullptr) return;
    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    if (auto init = reinterpret_cast<InitFn>(
            reinterpret_cast<void*>(GetProcAddress(comctl, "InitCommonControlsEx")))) {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
        init(&controls);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Setup is typically started from a downloads folder, where a planted DLL
    // would sit right beside it: restrict the search before anything loads.
    winkit::RestrictDllSearchToSystemFolder();
    InitCommonControls6();
    if (!setup::Form1::Instance().Load(instance)) return 1;
    return winkit::RunMessageLoop();
}
