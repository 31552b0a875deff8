#pragma once
#include <shldisp.h>

#include "Com.h"
#include "Handles.h"
#include "Install.h"

namespace setup {

// Starts the launcher through the desktop shell (the desktop's Explorer), so
// that it runs as the user the desktop belongs to with that user's token,
// not with the elevated token Setup runs with.
class DesktopShell final : public UserStarter {
public:
    DesktopShell();
    ~DesktopShell() override;
    DesktopShell(const DesktopShell&) = delete;
    DesktopShell& operator=(const DesktopShell&) = delete;

    bool Available() override;
    winkit::Win32Result Start(const StartCommand& start) override;

private:
    bool Ask();

    // Declared first, so that it ends after the shell's object is released.
    winkit::ComApartment m_apartment;
    winkit::UniqueCom<IShellDispatch2> m_shell;
};

}  // namespace setup
