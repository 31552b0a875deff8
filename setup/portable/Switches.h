#pragma once
// Setup's command line, for deployment tools and scripts: switches are
// case-insensitive and start with "/" or "-"; the arguments come split by the
// usual command-line rules (CommandLineToArgvW), so a quoted folder with
// blanks is one argument.
#include <optional>
#include <string>
#include <vector>

namespace setup {

// Windows Installer's exit codes, which deployment tools read without a table of ours.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailed = 1603;
// ERROR_INSTALL_USEREXIT: the move to another folder was declined.
inline constexpr int kExitUserExit = 1602;
// ERROR_INSTALL_LOG_FAILURE: the log of /LOG= could not be opened (nothing was
// done) or lost lines (what it lacks may have been done).
inline constexpr int kExitLogFailed = 1622;
inline constexpr int kExitBadSwitch = 1639;

struct Switches {
    bool silent = false;                // /S: no window, no message box
    std::optional<std::wstring> folder;  // /DIR=<folder>
    bool autostart = false;              // /AUTOSTART
    bool uninstall = false;              // /UNINSTALL
    std::optional<std::wstring> log;     // /LOG=<file>
    bool help = false;                   // /?
};

struct SwitchesOrError {
    Switches switches;
    std::wstring error;  // the argument that was not understood, and why (in the current language); empty when all were
};
SwitchesOrError ParseSwitches(const std::vector<std::wstring>& arguments);

}  // namespace setup
