#include <windows.h>
#include <commctrl.h>

#include "SetupForm.h"

namespace {

// Setup is typically started from a downloads folder, where any planted DLL
// would sit right beside it. Before anything else, DLL loading is restricted to
// the system folder; the function is looked up because Windows 7 without
// KB2533623 lacks it.
void LoadDllsFromSystemFolderOnly() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    if (auto setDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories"))))
        setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");
}

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

// Tab and the arrow keys move between the controls, as in a dialog.
bool IsFormKeyboardMessage(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    return root != nullptr && IsDialogMessageW(root, &msg);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    LoadDllsFromSystemFolderOnly();
    InitCommonControls6();

    if (!setup::Form1::Instance().Load(instance)) return 1;

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsFormKeyboardMessage(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
