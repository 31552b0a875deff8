#include "DesktopLaunchers.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "Handles.h"

namespace setup {

namespace {

constexpr wchar_t kLauncherWindowClass[] = L"Tolvane.MainWindow";
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
std::optional<FileIdentity> IdentityOf(const std::wstring& path) {
    const winkit::UniqueFile file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !GetFileInformationByHandle(file.Get(), &info)) return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

std::optional<FileIdentity> ProgramOf(HANDLE process) {
    std::wstring path(32768, L'\0');
    DWORD length = static_cast<DWORD>(path.size());
    if (!QueryFullProcessImageNameW(process, 0, path.data(), &length)) return std::nullopt;
    path.resize(length);
    return IdentityOf(path);
}

}  // namespace

RunningLaunchers::Ended DesktopLaunchers::EndAll() {
    Ended result;
    std::vector<FileIdentity> ours;
    for (const std::wstring& program : m_programs)
        if (const auto identity = IdentityOf(program)) ours.push_back(*identity);
    std::vector<winkit::UniqueKernelHandle> asked;
    for (HWND window = FindWindowExW(nullptr, nullptr, kLauncherWindowClass, nullptr); window != nullptr;
         window = FindWindowExW(nullptr, window, kLauncherWindowClass, nullptr)) {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        winkit::UniqueKernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
        // A process that cannot be asked what it runs is not known to be ours.
        const auto program = process ? ProgramOf(process.Get()) : std::nullopt;
        if (!program || std::find(ours.begin(), ours.end(), *program) == ours.end()) continue;
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
