// DesktopUser: a program that does nothing but use the desktop: one hidden
// window on its main thread and, when asked ("DesktopUser.exe 2"), more
// threads that only wait. It shows a wineserver quirk (tests/e2e/README.md):
// a Wine desktop whose only other user is a one-thread program closes when
// one of the desktop process's own threads ends. The harness keeps a
// two-thread copy on every desktop for that reason. WM_CLOSE ends it.
#include <windows.h>

#include <cwchar>

namespace {

constexpr wchar_t kClassName[] = L"Tolvane.DesktopUser";

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

DWORD WINAPI Idle(void* stop)
{
    WaitForSingleObject(static_cast<HANDLE>(stop), INFINITE);
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    const long threads = std::wcstol(commandLine, nullptr, 10);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &Procedure;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    if (!RegisterClassW(&wc)) {
        return 1;
    }
    // A top-level window, as a tray program has: the thread joins the desktop.
    if (!CreateWindowExW(0, kClassName, L"DesktopUser", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, instance,
                         nullptr)) {
        return 1;
    }
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    for (long i = 1; i < threads; ++i) {
        if (HANDLE thread = CreateThread(nullptr, 0, &Idle, stop, 0, nullptr)) {
            CloseHandle(thread);
        }
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageW(&msg);
    }
    SetEvent(stop);
    CloseHandle(stop);
    return 0;
}
