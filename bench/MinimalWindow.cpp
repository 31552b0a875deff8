// The yardstick for Setup's start-up figure: a program that shows one window
// with a few controls, built with the same flags.
#include <windows.h>

namespace {

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"Bench.MinimalWindow";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Minimal", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 100, 100,
                                160, 300, nullptr, nullptr, instance, nullptr);
    CreateWindowExW(0, L"BUTTON", L"Install", WS_CHILD | WS_VISIBLE, 10, 10, 100, 25, hwnd, nullptr, instance,
                    nullptr);
    CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"C:\\", WS_CHILD | WS_VISIBLE, 10, 40, 100, 20, hwnd, nullptr,
                    instance, nullptr);
    ShowWindow(hwnd, SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
