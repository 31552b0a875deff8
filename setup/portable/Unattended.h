#pragma once
// Install and Uninstall without a window, for deployment tools and scripts:
// the same checks and steps as the window, a log line for each step, and an
// exit code instead of messages. A silent installation starts no launcher:
// deployment tools run as SYSTEM or before anyone has logged on.
#include <string>
#include <vector>

#include "Install.h"
#include "Log.h"
#include "Switches.h"

namespace setup {

struct UnattendedResult {
    int exitCode = kExitSuccess;
    std::wstring message;  // what the window would have said (for /UNINSTALL without /S)
    // The first log line that could not be written; a run that did everything
    // else then ends with kExitLogFailed.
    winkit::Win32Result logFailure;
};

// The folder of /DIR= (or the default text) checked like a typed one; an
// existing folder that users without administrator rights can change is
// protected without asking, and the log says so.
UnattendedResult InstallUnattended(const Switches& switches, const std::wstring& programFolder, FileService& files,
                                   registry::Backend& backend, Log& log, const ReasonText& reason);
UnattendedResult UninstallUnattended(registry::Backend& backend, Log& log, const ReasonText& reason);

// Why Setup stopped before doing anything: the log of /LOG= cannot be opened.
std::wstring LogOpenFailureText(const winkit::Win32Result& failure, const ReasonText& reason);
// The log lost lines after the one that could not be written.
std::wstring LogWriteFailureText(const winkit::Win32Result& failure, const ReasonText& reason);

// What an installation did, a line a step, for the log of any installation.
std::vector<std::wstring> InstallLog(const InstallPlan& plan, const InstallReport& report);

}  // namespace setup
