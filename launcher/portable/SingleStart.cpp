#include "SingleStart.h"

#include "Join.h"
#include "LauncherTexts.h"

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
    return Format(TextId::NameHeld, {name});
}

}  // namespace launcher
