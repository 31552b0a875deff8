#include "DesktopLaunchers.h"

#include <windows.h>

#include <vector>

#include "Handles.h"

namespace setup {

namespace {

constexpr wchar_t kLauncherWindowClass[] = L"Tolvane.MainWindow";
// Long enough for a launcher to remove its icon and end, short enough that
// a hung one does not hold up the Uninstall (Setup's window does not answer
// meanwhile, so that no other button runs in the middle).
constexpr DWORD kWaitMs = 5000;

}  // namespace

RunningLaunchers::Ended DesktopLaunchers::EndAll() {
    Ended result;
    std::vector<std::pair<HWND, winkit::UniqueKernelHandle>> asked;
    for (HWND window = FindWindowExW(nullptr, nullptr, kLauncherWindowClass, nullptr); window != nullptr;
         window = FindWindowExW(nullptr, window, kLauncherWindowClass, nullptr)) {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        winkit::UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
        if (PostMessageW(window, WM_CLOSE, 0, 0))
            asked.emplace_back(window, std::move(process));
        else
            ++result.stillRunning;
    }
    const ULONGLONG deadline = GetTickCount64() + kWaitMs;
    for (const auto& [window, process] : asked) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        // Without a handle to its process, the window's end has to do.
        bool gone = false;
        if (process) {
            gone = WaitForSingleObject(process.Get(), left) == WAIT_OBJECT_0;
        } else {
            while (IsWindow(window) && GetTickCount64() < deadline) Sleep(50);
            gone = !IsWindow(window);
        }
        ++(gone ? result.ended : result.stillRunning);
    }
    return result;
}

}  // namespace setup
