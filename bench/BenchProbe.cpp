// Runs inside the Wine desktop: starts two programs by turns and times how
// long each takes until its tray icon exists (or its window is visible).
//   BenchProbe icon <runs> <out file> <exe A> <class A> <icon id A> <exe B> <class B> <icon id B>
//   BenchProbe window <runs> <out file> <exe A> <class A> <exe B> <class B>
// A run starts each once: A then B, the next run B then A, so that neither
// always follows the other and drift in the machine's load falls on both
// alike. One line a run: A's milliseconds, then B's (-1: not seen).
// A program is ended as soon as it was seen, by TerminateProcess: under Wine a
// window closed just after it was shown takes two seconds to go. Removing a
// tray icon keeps Wine's taskbar busy for two seconds as well, whoever
// removes it (the program, or the taskbar when it finds the owner gone, which
// then holds up the next start), so the probe removes it first and waits.
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

struct Program {
    std::wstring exe;
    const wchar_t* className;
    UINT iconId;
};

double RunOnce(const Program& program, bool icon) {
    // A tray icon just removed keeps the taskbar busy for a moment.
    Sleep(300);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + program.exe + L"\"";
    const double start = Now();
    if (!CreateProcessW(program.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    double elapsed = -1;
    HWND seen = nullptr;
    while (Now() - start < 20000) {
        HWND hwnd = FindOwnWindow(program.className, process.dwProcessId, !icon);
        if (hwnd != nullptr && (!icon || IconExists(hwnd, program.iconId))) {
            elapsed = Now() - start;
            seen = hwnd;
            break;
        }
        Sleep(1);
    }
    // NIM_DELETE returns once the taskbar is done with the icon.
    if (icon && seen != nullptr) {
        NOTIFYICONDATAW data{};
        data.cbSize = NOTIFYICONDATAW_V1_SIZE;
        data.hWnd = seen;
        data.uID = program.iconId;
        Shell_NotifyIconW(NIM_DELETE, &data);
    }
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const bool icon = std::wcscmp(argv[1], L"icon") == 0;
    if ((icon && argc != 10) || (!icon && argc != 8)) return 2;
    const int runs = _wtoi(argv[2]);
    FILE* out = _wfopen(argv[3], L"w");
    if (out == nullptr) return 3;
    const int step = icon ? 3 : 2;
    Program programs[2];
    for (int i = 0; i < 2; ++i) {
        wchar_t** fields = argv + 4 + i * step;
        programs[i] = {fields[0], fields[1], icon ? static_cast<UINT>(_wtoi(fields[2])) : 0u};
    }
    for (int run = 0; run < runs; ++run) {
        double ms[2];
        const int first = run % 2;
        ms[first] = RunOnce(programs[first], icon);
        ms[1 - first] = RunOnce(programs[1 - first], icon);
        std::fprintf(out, "%.1f %.1f\n", ms[0], ms[1]);
    }
    std::fclose(out);
    return 0;
}
