#pragma once
#include <string>
#include <vector>

#include "Uninstall.h"

namespace setup {

// The launchers on this desktop, found by their hidden main window's class
// and ended by the close message the launcher takes from an installer; only
// windows whose process runs one of the given programs (the same file, by
// its volume and file index), so that another program's window of that
// class is left alone.
class DesktopLaunchers final : public RunningLaunchers {
public:
    Ended EndAll(const std::vector<std::wstring>& programs) override;
};

}  // namespace setup
