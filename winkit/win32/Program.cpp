#include "Program.h"

#include "SystemFunction.h"

namespace winkit {

void RestrictDllSearchToSystemFolder() {
    if (const auto setDirectories =
            LoadedFunction<BOOL(WINAPI*)(DWORD)>(L"kernel32.dll", "SetDefaultDllDirectories"))
        setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Also drops the current folder from the search of older systems.
    SetDllDirectoryW(L"");
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
            HWND root = GetAncestor(msg.hwnd, GA_ROOT);
            if (root != nullptr && IsDialogMessageW(root, &msg)) continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace winkit
