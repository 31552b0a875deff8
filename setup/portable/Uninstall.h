#pragma once
// What Uninstall does: the running launchers ended, the machine's entries and
// the user's Run value removed.
#include <string>
#include <vector>

#include "Install.h"
#include "Registry.h"

namespace setup {

// The launchers running on this desktop: an Uninstall ends them first, with
// the close message to their hidden main window that a launcher takes from an
// installer, so that no icon is left of a program whose entries are gone.
class RunningLaunchers {
public:
    virtual ~RunningLaunchers() = default;
    struct Ended {
        int ended = 0;
        int stillRunning = 0;  // did not end in time
    };
    // Only those whose process runs one of the programs (full paths).
    virtual Ended EndAll(const std::vector<std::wstring>& programs) = 0;
};

// Which launchers an Uninstall ends: the Tolvane.exe of the installation its
// entry names (InstallLocation), and the one beside Setup itself. Another
// program's window of the launcher's class is not one of them.
std::vector<std::wstring> LaunchersToEnd(registry::Backend& backend, const std::wstring& setupProgramPath);

struct UninstallReport {
    RunningLaunchers::Ended launchers;
    std::vector<RegistryFailure> failures;  // entries that exist and were not removed
    bool Complete() const { return failures.empty(); }
};
// Ends the running launchers (LaunchersToEnd), then removes the machine's
// entries, every machine Run value that points into the installation's
// folder, and the uninstalling user's own Run value (other users' Run values
// are out of reach).
UninstallReport RunUninstall(registry::Backend& backend, RunningLaunchers& launchers,
                             const std::wstring& setupProgramPath);

}  // namespace setup
