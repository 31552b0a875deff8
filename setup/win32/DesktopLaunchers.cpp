#include "DesktopLaunchers.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "../../launcher/portable/LauncherWindow.h"
#include "Handles.h"

namespace setup {

namespace {

// Long enough for a launcher to remove its icon and end, short enough that
// a hung one does not hold up the Uninstall (Setup's window does not answer
// meanwhile, so that no other button runs in the middle).
constexpr DWORD kWaitMs = 5000;

struct FileIdentity {
    DWORD volume = 0;
    DWORD high = 0;
    DWORD low = 0;
    bool operator==(const FileIdentity& other) const {
        return volume == other.volume && high == other.high && low == other.low;
    }
};

// The same file whatever the path's spelling (short names, letter case,
// another drive letter for the volume).
bool IdentityOf(const wchar_t* path, FileIdentity* identity) {
    const winkit::UniqueFile file(CreateFileW(path, FILE_READ_ATTRIBUTES,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !GetFileInformationByHandle(file.Get(), &info)) return false;
    *identity = FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return true;
}

bool ProgramOf(HANDLE process, FileIdentity* identity) {
    std::wstring path(32768, L'\0');
    DWORD length = static_cast<DWORD>(path.size());
    return QueryFullProcessImageNameW(process, 0, path.data(), &length) && IdentityOf(path.c_str(), identity);
}

}  // namespace

RunningLaunchers::Ended DesktopLaunchers::EndAll(const std::vector<std::wstring>& programs) {
    Ended result;
    // Two at most: this installation's and the one beside Setup, or the one
    // installed and the one to be replaced.
    FileIdentity ours[2];
    std::size_t known = 0;
    for (const std::wstring& program : programs)
        if (known < 2 && IdentityOf(program.c_str(), &ours[known])) ++known;
    std::vector<winkit::UniqueKernelHandle> asked;
    for (HWND window = FindWindowExW(nullptr, nullptr, launcher::kMainWindowClass, nullptr); window != nullptr;
         window = FindWindowExW(nullptr, window, launcher::kMainWindowClass, nullptr)) {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        winkit::UniqueKernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
        // A process that cannot be asked what it runs is not known to be ours.
        FileIdentity program;
        if (!process || !ProgramOf(process.Get(), &program) || std::find(ours, ours + known, program) == ours + known)
            continue;
        if (PostMessageW(window, WM_CLOSE, 0, 0))
            asked.push_back(std::move(process));
        else
            ++result.stillRunning;
    }
    const ULONGLONG deadline = GetTickCount64() + kWaitMs;
    for (const winkit::UniqueKernelHandle& process : asked) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        const bool gone = WaitForSingleObject(process.Get(), left) == WAIT_OBJECT_0;
        ++(gone ? result.ended : result.stillRunning);
    }
    return result;
}

}  // namespace setup
