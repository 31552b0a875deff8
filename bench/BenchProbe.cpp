// Runs inside the Wine desktop: starts a program and times how long it takes
// until its tray icon exists (or its window is visible).
//   BenchProbe icon <exe> <window class> <icon id> <runs> <out file>
//   BenchProbe window <exe> <window class> <runs> <out file>
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// NIM_MODIFY that changes nothing succeeds only for an icon the shell knows.
bool IconExists(HWND owner, UINT id) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = owner;
    data.uID = id;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

HWND FindOwnWindow(const wchar_t* className, DWORD pid, bool mustBeVisible) {
    for (HWND hwnd = FindWindowExW(nullptr, nullptr, className, nullptr); hwnd != nullptr;
         hwnd = FindWindowExW(nullptr, hwnd, className, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner == pid && (!mustBeVisible || IsWindowVisible(hwnd))) return hwnd;
    }
    return nullptr;
}

double RunOnce(const std::wstring& exe, const wchar_t* className, bool icon, UINT iconId) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + exe + L"\"";
    const double start = Now();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    double elapsed = -1;
    while (Now() - start < 20000) {
        HWND hwnd = FindOwnWindow(className, process.dwProcessId, !icon);
        if (hwnd != nullptr && (!icon || IconExists(hwnd, iconId))) {
            elapsed = Now() - start;
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
            break;
        }
        Sleep(1);
    }
    if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const bool icon = std::wcscmp(argv[1], L"icon") == 0;
    if ((icon && argc != 7) || (!icon && argc != 6)) return 2;
    const std::wstring exe = argv[2];
    const wchar_t* className = argv[3];
    const UINT iconId = icon ? static_cast<UINT>(_wtoi(argv[4])) : 0;
    const int runs = _wtoi(argv[icon ? 5 : 4]);
    FILE* out = _wfopen(argv[icon ? 6 : 5], L"a");
    if (out == nullptr) return 3;
    for (int i = 0; i < runs; ++i) std::fprintf(out, "%.1f\n", RunOnce(exe, className, icon, iconId));
    std::fclose(out);
    return 0;
}
