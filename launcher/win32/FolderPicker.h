#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace launcher {

// The system's folder picker (IFileOpenDialog with FOS_PICKFOLDERS), modal to
// `owner`, opened at the folder the text names (%VARIABLES% expanded, blanks
// around it ignored), or at the nearest folder above it that exists; in the
// user's folder for a share not connected already (BrowseStartFolder). The
// folder chosen; nothing for Cancel or a failure, which a message names.
std::optional<std::wstring> PickFolder(HWND owner, const std::wstring& text);

}  // namespace launcher
