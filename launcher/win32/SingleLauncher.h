#pragma once
#include <windows.h>

#include <string>

#include "Handles.h"

namespace launcher {

// One launcher per user and session: a second start finds the first one's
// mutex, asks the running launcher to say so at its icon, and ends. The
// mutex lives in a private namespace bounded by the user's SID, which only
// the user's own processes can create; where Windows (or Wine) has none, in
// the session's namespace, with the user as owner and the only one let in.
class SingleLauncher {
public:
    enum class Outcome { First, AnotherRuns, NameHeld };
    Outcome Claim();
    // The name, for the message when it is held.
    const std::wstring& Name() const { return m_name; }

private:
    winkit::UniqueBoundary m_boundary;
    winkit::UniqueNamespace m_namespace;
    winkit::UniqueKernelHandle m_mutex;  // held for the launcher's lifetime
    std::wstring m_name;
};

}  // namespace launcher
