#pragma once
#include <windows.h>

#include "Log.h"
#include "Switches.h"
#include "Win32Files.h"
#include "Window.h"

namespace setup {

// The installer's one window: the install folder, the autostart choice, and
// the Install, Uninstall and Exit buttons.
class SetupWindow final : public winkit::Window {
public:
    static SetupWindow& Instance();
    // /DIR= and /AUTOSTART fill in the window; what Install does goes to the log.
    bool Open(const Switches& switches, Log& log, const OwnProgram& ownProgram);

private:
    SetupWindow() = default;

    void OnCreate() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnFailure() override;

    void OnInstall();
    void OnUninstall();

    Log* m_log = nullptr;
    const OwnProgram* m_ownProgram = nullptr;
};

}  // namespace setup
