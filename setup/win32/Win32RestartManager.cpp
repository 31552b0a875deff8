#include "Win32RestartManager.h"

#include <restartmanager.h>

#include <iterator>

#include "SystemFunction.h"

namespace setup {

Win32RestartManager::~Win32RestartManager() {
    if (m_started) m_end(m_session);
}

long Win32RestartManager::Start() {
    const HMODULE dll = LoadLibraryExW(L"rstrtmgr.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (dll == nullptr) return static_cast<long>(GetLastError());
    using winkit::FunctionOf;
    const auto start = FunctionOf<decltype(&RmStartSession)>(dll, "RmStartSession");
    m_register = FunctionOf<decltype(&RmRegisterResources)>(dll, "RmRegisterResources");
    m_list = FunctionOf<decltype(&RmGetList)>(dll, "RmGetList");
    m_shutdown = FunctionOf<decltype(&RmShutdown)>(dll, "RmShutdown");
    m_restart = FunctionOf<decltype(&RmRestart)>(dll, "RmRestart");
    m_end = FunctionOf<decltype(&RmEndSession)>(dll, "RmEndSession");
    // All or none: a Restart Manager with only some of them is not used.
    if (!start || !m_register || !m_list || !m_shutdown || !m_restart || !m_end) return ERROR_PROC_NOT_FOUND;
    WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
    const long error = static_cast<long>(start(&m_session, 0, key));
    m_started = error == ERROR_SUCCESS;
    return error;
}

long Win32RestartManager::Register(const std::vector<std::wstring>& files) {
    // Two at most: the launcher to replace and the one of a folder moved from.
    LPCWSTR names[2] = {};
    UINT count = 0;
    for (const std::wstring& file : files)
        if (count < std::size(names)) names[count++] = file.c_str();
    return static_cast<long>(
        m_register(m_session, count, names, 0, nullptr, 0, nullptr));
}

long Win32RestartManager::Users(unsigned* count, bool* inThisSession) {
    // One per session that runs a launcher: more than these many sessions
    // only leaves unknown whether Setup's own is among them.
    RM_PROCESS_INFO processes[8];
    UINT needed = 0;
    UINT listed = static_cast<UINT>(std::size(processes));
    DWORD reasons = 0;
    const DWORD error = m_list(m_session, &needed, &listed, processes, &reasons);
    if (error == ERROR_MORE_DATA) {
        *count = needed;
        *inThisSession = true;
        return ERROR_SUCCESS;
    }
    if (error != ERROR_SUCCESS) return static_cast<long>(error);
    DWORD own = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &own);
    *count = listed;
    for (UINT i = 0; i < listed && i < std::size(processes); ++i)
        if (processes[i].TSSessionId == own) *inThisSession = true;
    return ERROR_SUCCESS;
}

long Win32RestartManager::Shutdown() {
    return static_cast<long>(m_shutdown(m_session, 0, nullptr));
}

long Win32RestartManager::Restart() {
    return static_cast<long>(m_restart(m_session, 0, nullptr));
}

}  // namespace setup
