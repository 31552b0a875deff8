#pragma once
// Ending the running launchers before their files are replaced, and starting
// them again afterwards: through the Restart Manager, which reaches every
// session, and on this desktop by the close message as before wherever the
// Restart Manager cannot (missing, as on Windows 7 without the update that
// brought LOAD_LIBRARY_SEARCH_SYSTEM32, or incomplete, as Wine's: its
// functions answer success and do nothing).
#include <string>
#include <vector>

#include "Uninstall.h"
#include "Win32Result.h"

namespace setup {

// ERROR_FAIL_NOACTION_REBOOT, ERROR_FAIL_SHUTDOWN: RmShutdown ended some of them.
inline constexpr long kErrorFailNoActionReboot = 350;
inline constexpr long kErrorFailShutdown = 351;

// One session of rstrtmgr.dll, ended with the object; the codes are its own.
class RestartManager {
public:
    virtual ~RestartManager() = default;
    // RmStartSession; the loader's error where the DLL or a function is missing.
    virtual long Start() = 0;
    virtual long Register(const std::vector<std::wstring>& files) = 0;
    // RmGetList: how many processes use the files, in every session, and
    // whether one of them runs in Setup's own session.
    virtual long Users(unsigned* count, bool* inThisSession) = 0;
    // RmShutdown, not forced: a launcher that does not answer keeps its
    // file, and the copy says it is in use.
    virtual long Shutdown() = 0;
    virtual long Restart() = 0;  // RmRestart
};

struct LauncherStop {
    long managerError = 0;      // why the Restart Manager did not end them; 0 when it did, or had none
    unsigned managerEnded = 0;  // asked to end, in every session
    bool inThisSession = false;
    RunningLaunchers::Ended desktop;  // ended afterwards on this desktop
    bool restart = false;             // the Restart Manager starts them again
};

// `restartable`: the same files come back (an upgrade or a repair in place).
// After a move the Restart Manager would start the old files again, so the
// launchers start from the new folder: the desktop's by Setup, the other
// sessions' at their next logon.
LauncherStop StopLaunchers(RestartManager& manager, RunningLaunchers& desktop,
                           const std::vector<std::wstring>& programs, bool restartable);

// After the installation, or after its undo, which put the old files back.
// Returns the error of RmRestart, 0 when it started them or had none to start.
long RestartLaunchers(RestartManager& manager, const LauncherStop& stop);

// Whether Setup itself starts the launcher on this desktop after installing:
// unless the Restart Manager started this session's again.
bool DesktopStartNeeded(const LauncherStop& stop, long restartError);

// What the log says of it; "" when nothing ran.
std::wstring LauncherStopText(const LauncherStop& stop, const winkit::ReasonText& reason);

}  // namespace setup
