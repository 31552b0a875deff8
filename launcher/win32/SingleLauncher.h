#pragma once
#include <windows.h>

#include "Handles.h"

namespace launcher {

// One launcher per user and session: a second start finds the first one's
// mutex, asks the running launcher to say so at its icon, and ends.
class SingleLauncher {
public:
    // True for the first launcher of this user in this session.
    bool Claim();

private:
    winkit::UniqueKernelHandle m_mutex;  // held for the launcher's lifetime
};

}  // namespace launcher
