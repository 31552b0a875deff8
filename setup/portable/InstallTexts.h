#pragma once
// What Setup says after Install and Uninstall, built from their reports
// with the sentences of SetupTexts.h. A text the log takes too is asked for in
// the log's language, English, and in the user's.
#include <string>

#include "Install.h"
#include "SetupTexts.h"
#include "Uninstall.h"
#include "Win32Result.h"

namespace setup {

// A message in parts: the log gives what happened and why; the window adds
// what to do there.
struct Explanation {
    std::wstring text;     // what failed, the path, the system's reason, the rule, what was undone
    std::wstring advice;   // what to do in the window ("... press Install again")
};

Explanation FailureText(const InstallPlan& plan, const InstallReport& report, const winkit::ReasonText& reason,
                        Language language);
// With MovedText after a move.
std::wstring FinishedText(const InstallPlan& plan);
// What a move leaves behind: the old folder's files; "" without a move.
std::wstring MovedText(const InstallPlan& plan, Language language);
// The question before an installation into another folder moves the existing one.
std::wstring MoveQuestion(const std::wstring& installed, const std::wstring& target);

std::wstring StartFailureText(const StartCommand& start, long error, const winkit::ReasonText& reason);
std::wstring UninstallFailureText(const UninstallReport& report, const winkit::ReasonText& reason, Language language);
// What the Uninstall message and log add about running launchers; "" for none.
std::wstring LaunchersEndedText(const RunningLaunchers::Ended& launchers, Language language);

}  // namespace setup
