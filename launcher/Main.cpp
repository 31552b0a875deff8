#include <windows.h>

#include "Forms.h"
#include "MainForm.h"

namespace {

// Keyboard navigation (Tab, arrows, Enter) inside whichever of our windows has it.
bool IsFormKeyboardMessage(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    return root != nullptr && IsDialogMessageW(root, &msg);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // DLLs come from the system folder only, never from the launcher's own folder.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    if (auto setDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories"))))
        setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);


    launcher::SetInstance(instance);
    if (!launcher::Form1::Instance().Load()) return 1;

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsFormKeyboardMessage(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
