#include "SingleLauncher.h"

#include <sddl.h>

#include <string>
#include <vector>

#include "Commands.h"

namespace launcher {

namespace {

constexpr wchar_t kMainWindowClass[] = L"Tolvane.MainWindow";
// A second start right after the first may come before its window exists.
constexpr int kFindAttempts = 30;
constexpr DWORD kFindIntervalMs = 100;

// The session's namespace, and the user's SID: another account started in
// the same session (Run as) keeps a launcher of its own.
std::wstring MutexName() {
    std::wstring name = L"Local\\Tolvane.Launcher";
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return name;
    winkit::UniqueKernelHandle owned(token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<DWORD_PTR> buffer(size / sizeof(DWORD_PTR) + 1);  // aligned for TOKEN_USER's pointer
    if (size == 0 || !GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) return name;
    winkit::UniqueLocal<wchar_t> sid;
    if (ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, sid.Put()))
        name += L"." + std::wstring(sid.Get());
    return name;
}

}  // namespace

bool SingleLauncher::Claim() {
    m_mutex.Reset(CreateMutexW(nullptr, FALSE, MutexName().c_str()));
    if (!m_mutex || GetLastError() != ERROR_ALREADY_EXISTS) return true;  // no mutex: better two than none
    m_mutex.Reset();
    for (int attempt = 0; attempt < kFindAttempts; ++attempt) {
        if (HWND running = FindWindowW(kMainWindowClass, nullptr)) {
            PostMessageW(running, kAlreadyRunningMessage, 0, 0);
            break;
        }
        Sleep(kFindIntervalMs);
    }
    return false;
}

}  // namespace launcher
