#pragma once
// One launcher per user and session: what a start does with the name the
// first launcher holds.
#include <string>

namespace launcher {

// What creating the launcher's named object gave.
enum class NameClaim {
    Created,  // ours: the first launcher
    Exists,   // somebody holds it already
    Denied,   // it exists and its permissions keep this user out: not a launcher of this user
    Failed,   // any other failure: better two launchers than none
};

struct NameFacts {
    NameClaim claim = NameClaim::Failed;
    // Whose the existing object is: always this user's in the user's private
    // namespace, which only the user's own processes can create; in the
    // session's namespace (where private namespaces are missing, as in Wine)
    // the object's owner tells.
    bool ownedByUser = true;
};

enum class StartDecision {
    Run,              // this is the launcher
    AskRunningOne,    // a running launcher of this user's shows the balloon; this start ends
    ReportHeld,       // something that is not a running Tolvane holds the name: say so and end
};
StartDecision DecideStart(const NameFacts& facts);

// Where no launcher window of this user answers for an existing name.
StartDecision AfterLookingForLauncher(bool launcherFound);

// The message for a name held by something that is not a running Tolvane.
std::wstring NameHeldText(const std::wstring& name);

}  // namespace launcher
