#include "Win32RestartManager.h"

#include <restartmanager.h>

#include <vector>

#include "SystemFunction.h"

namespace setup {

namespace {

// The function by name, or nullptr; *error says why.
template <typename Fn>
Fn Function(HMODULE dll, const char* name, long* error) {
    const Fn function = winkit::FunctionOf<Fn>(dll, name);
    if (function == nullptr && *error == ERROR_SUCCESS) *error = ERROR_PROC_NOT_FOUND;
    return function;
}

}  // namespace

Win32RestartManager::~Win32RestartManager() {
    long error = ERROR_SUCCESS;
    if (m_started)
        if (const auto end = Function<decltype(&RmEndSession)>(m_dll, "RmEndSession", &error)) end(m_session);
}

long Win32RestartManager::Start() {
    m_dll = LoadLibraryExW(L"rstrtmgr.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (m_dll == nullptr) return static_cast<long>(GetLastError());
    long error = ERROR_SUCCESS;
    const auto start = Function<decltype(&RmStartSession)>(m_dll, "RmStartSession", &error);
    if (start == nullptr) return error;
    WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
    error = static_cast<long>(start(&m_session, 0, key));
    m_started = error == ERROR_SUCCESS;
    return error;
}

long Win32RestartManager::Register(const std::vector<std::wstring>& files) {
    long error = ERROR_SUCCESS;
    const auto registerFiles = Function<decltype(&RmRegisterResources)>(m_dll, "RmRegisterResources", &error);
    if (registerFiles == nullptr) return error;
    std::vector<LPCWSTR> names;
    for (const std::wstring& file : files) names.push_back(file.c_str());
    return static_cast<long>(
        registerFiles(m_session, static_cast<UINT>(names.size()), names.data(), 0, nullptr, 0, nullptr));
}

long Win32RestartManager::Users(unsigned* count, bool* inThisSession) {
    long error = ERROR_SUCCESS;
    const auto list = Function<decltype(&RmGetList)>(m_dll, "RmGetList", &error);
    if (list == nullptr) return error;
    std::vector<RM_PROCESS_INFO> processes;
    UINT needed = 0;
    UINT listed = 0;
    DWORD reasons = 0;
    // The list may grow between the call that sizes it and the one that fills it.
    for (int attempt = 0; attempt < 3; ++attempt) {
        processes.resize(needed);
        listed = needed;
        error = static_cast<long>(list(m_session, &needed, &listed, processes.data(), &reasons));
        if (error != ERROR_MORE_DATA) break;
    }
    if (error != ERROR_SUCCESS) return error;
    DWORD own = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &own);
    *count = listed;
    for (UINT i = 0; i < listed && i < processes.size(); ++i)
        if (processes[i].TSSessionId == own) *inThisSession = true;
    return ERROR_SUCCESS;
}

long Win32RestartManager::Shutdown() {
    long error = ERROR_SUCCESS;
    const auto shutdown = Function<decltype(&RmShutdown)>(m_dll, "RmShutdown", &error);
    return shutdown != nullptr ? static_cast<long>(shutdown(m_session, 0, nullptr)) : error;
}

long Win32RestartManager::Restart() {
    long error = ERROR_SUCCESS;
    const auto restart = Function<decltype(&RmRestart)>(m_dll, "RmRestart", &error);
    return restart != nullptr ? static_cast<long>(restart(m_session, 0, nullptr)) : error;
}

}  // namespace setup
