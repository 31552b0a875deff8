// TrayStub: a minimal tray program for debugging the test harness itself when
// no launcher build is at hand. Left release: starts "explorer.exe /e,C:\"
// maximized after 100 ms; right release: a small popup menu with a default
// item; "Exit" removes the icon and ends.
#include <windows.h>
#include <shellapi.h>

namespace {

constexpr UINT kCallback = WM_APP + 1;
constexpr UINT kIconId = 125;
constexpr UINT_PTR kTimerId = 1;
NOTIFYICONDATAW g_icon = {};
UINT g_taskbarCreated = 0;

void AddIcon(HWND hwnd)
{
    g_icon.cbSize = sizeof g_icon;
    g_icon.hWnd = hwnd;
    g_icon.uID = kIconId;
    g_icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    g_icon.uCallbackMessage = kCallback;
    g_icon.hIcon = LoadIconW(nullptr, IDI_INFORMATION);
    lstrcpyW(g_icon.szTip, L"TrayStub");
    Shell_NotifyIconW(NIM_ADD, &g_icon);
}

void StartExplorer()
{
    wchar_t command[] = L"C:\\windows\\explorer.exe /e,\"C:\\\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMAXIMIZED;
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kCallback && lParam == WM_LBUTTONUP) {
        SetTimer(hwnd, kTimerId, 100, nullptr);
        return 0;
    }
    if (message == kCallback && lParam == WM_RBUTTONUP) {
        HMENU menu = CreatePopupMenu();
        AppendMenuW(menu, MF_STRING | MF_CHECKED, 1, L"&Checked item");
        AppendMenuW(menu, MF_STRING, 2, L"E&xit");
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, 3, L"Open &Explorer");
        SetMenuDefaultItem(menu, 3, FALSE);
        POINT point = {};
        GetCursorPos(&point);
        SetForegroundWindow(hwnd);
        const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD, point.x, point.y, 0, hwnd, nullptr));
        PostMessageW(hwnd, WM_NULL, 0, 0);
        DestroyMenu(menu);
        if (chosen == 2) {
            DestroyWindow(hwnd);
        } else if (chosen == 3) {
            SetTimer(hwnd, kTimerId, 100, nullptr);
        }
        return 0;
    }
    if (message == WM_TIMER) {
        KillTimer(hwnd, kTimerId);
        StartExplorer();
        return 0;
    }
    if (message == g_taskbarCreated && g_taskbarCreated != 0) {
        AddIcon(hwnd);
        return 0;
    }
    if (message == WM_DESTROY) {
        Shell_NotifyIconW(NIM_DELETE, &g_icon);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    g_taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"TrayStub.Main";
    RegisterClassW(&windowClass);
    HWND hwnd = CreateWindowW(L"TrayStub.Main", L"TrayStub", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 200,
        100, nullptr, nullptr, instance, nullptr);
    AddIcon(hwnd);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
