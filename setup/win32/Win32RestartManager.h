#pragma once
#include <windows.h>

#include <restartmanager.h>

#include "Restart.h"

namespace setup {

// rstrtmgr.dll, loaded from the system folder only when an installation gets
// that far and its functions looked up by name: Setup's import table stays
// as it was, and a system without them (or with only some) falls back.
class Win32RestartManager final : public RestartManager {
public:
    Win32RestartManager() = default;
    Win32RestartManager(const Win32RestartManager&) = delete;
    Win32RestartManager& operator=(const Win32RestartManager&) = delete;
    ~Win32RestartManager() override;

    long Start() override;
    long Register(const std::vector<std::wstring>& files) override;
    long Users(unsigned* count, bool* inThisSession) override;
    long Shutdown() override;
    long Restart() override;

private:
    // The DLL stays loaded, as winkit::SystemFunction's do.
    decltype(&RmRegisterResources) m_register = nullptr;
    decltype(&RmGetList) m_list = nullptr;
    decltype(&RmShutdown) m_shutdown = nullptr;
    decltype(&RmRestart) m_restart = nullptr;
    decltype(&RmEndSession) m_end = nullptr;
    DWORD m_session = 0;
    bool m_started = false;
};

}  // namespace setup
