#include "Restart.h"

#include "InstallTexts.h"
#include "Join.h"

namespace setup {

LauncherStop StopLaunchers(RestartManager& manager, RunningLaunchers& desktop,
                           const std::vector<std::wstring>& programs, bool restartable) {
    LauncherStop stop;
    unsigned count = 0;
    bool here = false;
    long error = manager.Start();
    if (error == 0) error = manager.Register(programs);
    if (error == 0) error = manager.Users(&count, &here);
    if (error == 0 && count > 0) {
        error = manager.Shutdown();
        // Those it did end it also starts again; the rest are asked below.
        if (error == 0 || error == kErrorFailShutdown || error == kErrorFailNoActionReboot) {
            stop.managerEnded = count;
            stop.inThisSession = here;
            stop.restart = restartable;
        }
    }
    stop.managerError = error;
    // What the Restart Manager could not end, or did not see (Wine's lists
    // no process), on this desktop.
    stop.desktop = desktop.EndAll(programs);
    return stop;
}

long RestartLaunchers(RestartManager& manager, const LauncherStop& stop) {
    return stop.restart ? manager.Restart() : 0;
}

bool DesktopStartNeeded(const LauncherStop& stop, long restartError) {
    // One ended on this desktop by the close message did not end through the
    // Restart Manager, which therefore does not start it again.
    return !(stop.restart && stop.inThisSession && restartError == 0 && stop.desktop.ended == 0);
}

std::wstring LauncherStopText(const LauncherStop& stop, const winkit::ReasonText& reason) {
    const bool refused = stop.managerError != 0;
    std::wstring text = winkit::Join({stop.managerEnded > 0 ? L"The Restart Manager ended Tolvane in every session. " : L"",
                                      refused ? L"The Restart Manager: " : L"",
                                      refused ? reason(stop.managerError) + L" " : std::wstring(),
                                      LaunchersEndedText(stop.desktop)});
    if (!text.empty() && text.back() == L' ') text.pop_back();
    return text;
}

}  // namespace setup
