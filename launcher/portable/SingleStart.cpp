#include "SingleStart.h"

#include "Join.h"

namespace launcher {

StartDecision DecideStart(const NameFacts& facts) {
    switch (facts.claim) {
    case NameClaim::Created:
    case NameClaim::Failed:
        return StartDecision::Run;
    case NameClaim::Denied:
        return StartDecision::ReportHeld;
    case NameClaim::Exists:
        break;
    }
    return facts.ownedByUser ? StartDecision::AskRunningOne : StartDecision::ReportHeld;
}

StartDecision AfterLookingForLauncher(bool launcherFound) {
    return launcherFound ? StartDecision::AskRunningOne : StartDecision::ReportHeld;
}

std::wstring NameHeldText(const std::wstring& name) {
    return winkit::Join({L"Tolvane cannot start: another program, not Tolvane, holds the name Tolvane uses to run "
                         L"once per user (",
                         name, L").\n\nEnd that program, or sign out and in again, then start Tolvane once more."});
}

}  // namespace launcher
