// The store against the real registry API (Wine's here): the rows the
// in-memory backend passes natively, and the 32-bit view in the x86_64 build.
#include <windows.h>

#include "MiniTest.h"

#include "Handles.h"
#include "Registry.h"
#include "../unit/RegistryContract.h"

using registry::Root;
using registry::SystemBackend;

TEST(RegistryContract, TheRealRegistryBehavesAsTheRowsSay) {
    registry_contract::Clean(SystemBackend());
    for (const auto& row : registry_contract::Rows()) {
        const std::wstring outcome = registry_contract::Outcome(SystemBackend(), row);
        EXPECT_TRUE(outcome == row.expected) << row.label << outcome;
        registry_contract::Clean(SystemBackend());
    }
}

// The rows tell the machine's view from the policies'; this tells which is which.
TEST(Win32Registry, MachineValuesLiveInThe32BitView) {
    const std::wstring& key = registry_contract::kKey;
    ASSERT_TRUE(registry::SaveString(SystemBackend(), Root::LocalMachine, key, L"Modus", L"vbNormalFocus").Ok());
    winkit::UniqueKey opened;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, opened.Put()),
              ERROR_SUCCESS);
#ifdef _WIN64
    EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, opened.Put()),
              ERROR_SUCCESS)
        << "the x86_64 build must not write to the 64-bit view";
#endif
    opened.Reset();
    registry_contract::Clean(SystemBackend());
}
