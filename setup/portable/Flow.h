#pragma once
// Install and Uninstall as one flow for the window and for the command line:
// the checks, the steps, the log lines and the result are decided here; the
// window and an unattended run supply only their questions and messages.
#include <string>

#include "Install.h"
#include "Log.h"
#include "Restart.h"
#include "Switches.h"
#include "Uninstall.h"

namespace setup {

// What differs between the window, Setup without a window and a silent run.
class Front {
public:
    virtual ~Front() = default;
    virtual void Tell(const std::wstring& text, const wchar_t* title) = 0;
    // A question with Yes and No: true for Yes.
    virtual bool Ask(const std::wstring& text, const wchar_t* title) = 0;
    // Who starts the launcher as the desktop's user, or nobody.
    virtual UserStarter* Starter() = 0;
};

// /S: nobody to ask or tell. Whoever runs Setup silently has chosen the
// folder (and, with another one, the move), and deployment tools run as
// SYSTEM or before anyone has logged on, so the launcher is left to the next
// logon, or to the Restart Manager.
class SilentFront final : public Front {
public:
    void Tell(const std::wstring&, const wchar_t*) override {}
    bool Ask(const std::wstring&, const wchar_t*) override { return true; }
    UserStarter* Starter() override { return nullptr; }
};

enum class Outcome {
    Installed,           // and Tolvane started, or the user told to start it
    InstalledNotStarted, // the start was refused
    FolderRefused,       // the folder text cannot work; nothing was done
    MoveDeclined,        // the installation stays where it is; nothing was done
    Failed,              // a check or a step failed; what was done is undone
    Uninstalled,
    NotUninstalled,
};

struct FlowResult {
    Outcome outcome;
    int exitCode;
};

struct InstallRequest {
    std::wstring folderText;  // as typed or given with /DIR=
    bool autostart = false;
};

// The running launchers, as an installation ends and starts them again.
struct Launchers {
    RestartManager& manager;
    RunningLaunchers& desktop;
};

FlowResult InstallFlow(const InstallRequest& request, const Sources& sources, FileService& files,
                       registry::Backend& backend, Launchers launchers, Front& front, Log& log,
                       const winkit::ReasonText& reason);
// `setupProgramPath`: Setup's own file; the launcher beside it is ended too.
FlowResult UninstallFlow(registry::Backend& backend, RunningLaunchers& launchers, const std::wstring& setupProgramPath,
                         Front& front, Log& log, const winkit::ReasonText& reason);

}  // namespace setup
