#include "SingleLauncher.h"

#include <aclapi.h>
#include <sddl.h>

#include <string>
#include <vector>

#include "Decimal.h"
#include "Join.h"
#include "LauncherWindow.h"
#include "SingleStart.h"

namespace launcher {

namespace {

// A second start right after the first may come before its window exists.
constexpr int kFindAttempts = 30;
constexpr DWORD kFindIntervalMs = 100;

// The user's SID from a token (TOKEN_USER's pointer points into the buffer).
struct TokenUserSid {
    std::vector<DWORD_PTR> buffer;  // aligned for TOKEN_USER's pointer
    PSID Get() const { return buffer.empty() ? nullptr : reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid; }
};

TokenUserSid UserOf(HANDLE process) {
    TokenUserSid sid;
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return sid;
    const winkit::UniqueKernelHandle owned(token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    if (size == 0) return sid;
    sid.buffer.resize(size / sizeof(DWORD_PTR) + 1);
    if (!GetTokenInformation(token, TokenUser, sid.buffer.data(), size, &size)) sid.buffer.clear();
    return sid;
}

// Another launcher of this user: a main window whose process runs as the
// same user (another user's window of that class on this desktop is not one).
HWND RunningLauncher(PSID user) {
    for (HWND window = FindWindowExW(nullptr, nullptr, kMainWindowClass, nullptr); window != nullptr;
         window = FindWindowExW(nullptr, window, kMainWindowClass, nullptr)) {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        if (id == GetCurrentProcessId()) continue;
        const winkit::UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
        if (!process) continue;
        const TokenUserSid owner = UserOf(process.Get());
        if (owner.Get() != nullptr && EqualSid(owner.Get(), user)) return window;
    }
    return nullptr;
}

NameClaim ClaimOf(const winkit::UniqueKernelHandle& object, DWORD error) {
    if (object) return error == ERROR_ALREADY_EXISTS ? NameClaim::Exists : NameClaim::Created;
    return error == ERROR_ACCESS_DENIED ? NameClaim::Denied : NameClaim::Failed;
}

}  // namespace

SingleLauncher::Outcome SingleLauncher::Claim() {
    const TokenUserSid user = UserOf(GetCurrentProcess());
    winkit::UniqueLocal<wchar_t> sidText;
    if (user.Get() == nullptr || !ConvertSidToStringSidW(user.Get(), sidText.Put())) {
        // Without the user's SID there is no name of the user's own: better two than none.
        return Outcome::First;
    }
    const std::wstring sid = sidText.Get();
    // Only the user may open what the launcher creates, and the user is its owner.
    winkit::UniqueSecurityDescriptor descriptor;
    const std::wstring sddl = winkit::Join({L"O:", sid, L"D:P(A;;GA;;;", sid, L")"});
    ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, descriptor.Put(), nullptr);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor.Get(), FALSE};
    SECURITY_ATTRIBUTES* security = descriptor ? &attributes : nullptr;

    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    const std::wstring boundaryName = L"Tolvane.Launcher." + winkit::Decimal(session);
    NameFacts facts;
    // Wine has no private namespaces: CreateBoundaryDescriptorW gives nothing there.
    m_boundary.Reset(CreateBoundaryDescriptorW(boundaryName.c_str(), 0));
    HANDLE boundary = m_boundary.Release();
    const bool bounded = boundary != nullptr && AddSIDToBoundaryDescriptor(&boundary, user.Get());
    m_boundary.Reset(boundary);
    if (bounded) {
        m_namespace.Reset(CreatePrivateNamespaceW(security, m_boundary.Get(), L"Tolvane"));
        if (!m_namespace && GetLastError() == ERROR_ALREADY_EXISTS)
            m_namespace.Reset(OpenPrivateNamespaceW(m_boundary.Get(), L"Tolvane"));
    }
    if (m_namespace) {
        m_name = L"Tolvane\\Launcher";
        m_mutex.Reset(CreateMutexW(security, FALSE, m_name.c_str()));
        facts.claim = ClaimOf(m_mutex, GetLastError());
    } else {
        // The session's namespace, and the user's SID: another account started
        // in the same session (Run as) keeps a launcher of its own.
        m_name = L"Local\\Tolvane.Launcher." + sid;
        m_mutex.Reset(CreateMutexW(security, FALSE, m_name.c_str()));
        facts.claim = ClaimOf(m_mutex, GetLastError());
        if (facts.claim == NameClaim::Exists) {
            PSID owner = nullptr;
            winkit::UniqueSecurityDescriptor existing;
            facts.ownedByUser = GetSecurityInfo(m_mutex.Get(), SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                                nullptr, nullptr, nullptr, existing.Put()) == ERROR_SUCCESS &&
                                owner != nullptr && EqualSid(owner, user.Get());
        }
    }
    StartDecision decision = DecideStart(facts);
    if (decision == StartDecision::Run) return Outcome::First;
    m_mutex.Reset();
    if (decision == StartDecision::AskRunningOne) {
        HWND running = nullptr;
        for (int attempt = 0; attempt < kFindAttempts && running == nullptr; ++attempt) {
            running = RunningLauncher(user.Get());
            if (running == nullptr) Sleep(kFindIntervalMs);
        }
        decision = AfterLookingForLauncher(running != nullptr);
        if (running != nullptr) PostMessageW(running, kAlreadyRunningMessage, 0, 0);
    }
    return decision == StartDecision::AskRunningOne ? Outcome::AnotherRuns : Outcome::NameHeld;
}

}  // namespace launcher
