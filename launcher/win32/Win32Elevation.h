#pragma once
#include <windows.h>

#include "Autostart.h"

namespace launcher {

// The process token, the question with the shield and UAC's "runas".
class Win32Elevation final : public Elevation {
public:
    explicit Win32Elevation(HWND owner) : m_owner(owner) {}
    bool IsElevated() override;
    bool ConfirmRemovalForAllUsers() override;
    long RunElevatedRemoval() override;

private:
    HWND m_owner;
};

}  // namespace launcher
