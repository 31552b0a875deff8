#pragma once
#include <windows.h>

#include "ExplorerLaunch.h"

namespace launcher {

// The folder questions of the Explorer start, answered by the file system.
class Win32FolderProbe final : public FolderProbe {
public:
    std::wstring ExpandVariables(const std::wstring& text) override;
    bool IsNetworkDrive(wchar_t driveLetter) override;
    Found Examine(const std::wstring& path) override;
    bool IsConnected(const std::wstring& networkPath) override;
};

}  // namespace launcher
