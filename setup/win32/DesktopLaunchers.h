#pragma once
#include "Install.h"

namespace setup {

// The launchers on this desktop, found by their hidden main window's class
// and ended by the close message the launcher takes from an installer.
class DesktopLaunchers final : public RunningLaunchers {
public:
    Ended EndAll() override;
};

}  // namespace setup
