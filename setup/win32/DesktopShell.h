#pragma once
#include <windows.h>

#include <memory>

#include "Handles.h"
#include "Install.h"

namespace setup {

// Starts the launcher through the desktop shell (the desktop's Explorer), so
// that it runs as the user the desktop belongs to with that user's token,
// not with the elevated token Setup runs with.
//
// The shell is asked on a thread of its own, and each answer is waited for a
// bounded time: a call to an Explorer that hangs never returns (COM has no
// timeout of its own for it), and Setup, its installation done, would hang
// with it. Such a thread is left behind with what it uses; the process ends
// soon after.
class DesktopShell final : public UserStarter {
public:
    DesktopShell();
    ~DesktopShell() override;
    DesktopShell(const DesktopShell&) = delete;
    DesktopShell& operator=(const DesktopShell&) = delete;

    bool Available() override;
    winkit::Win32Result Start(const StartCommand& start) override;

    struct Talk;

private:
    bool StartThread();
    // False, and the thread given up, when it did not answer in time.
    bool Answered(HANDLE event);

    std::unique_ptr<Talk> m_talk;
    winkit::UniqueKernelHandle m_thread;
    bool m_asked = false;
    bool m_available = false;
    int m_threadsStarted = 0;
};

}  // namespace setup
