#pragma once
// The one value every Win32 operation of both programs reports through: the
// registry store, the file service and process start. Portable, so that the
// logic above them is unit-tested natively; the system's text for a code is
// looked up on Windows only (Error.h).
#include <functional>
#include <string>
#include <utility>

namespace winkit {

// The Win32 error codes the programs tell apart; every other code passes through.
inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorPathNotFound = 3;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorSharingViolation = 32;
inline constexpr long kErrorLockViolation = 33;
inline constexpr long kErrorInvalidParameter = 87;
inline constexpr long kErrorAlreadyExists = 183;
inline constexpr long kErrorMoreData = 234;
inline constexpr long kErrorNoMoreItems = 259;
inline constexpr long kErrorCancelled = 1223;
inline constexpr long kErrorUserMappedFile = 1224;

// Success, or what was attempted and the code Windows refused it with.
struct Win32Result {
    long code = kErrorSuccess;
    std::wstring operation;  // e.g. "Could not create the folder C:\Tolvane"

    bool Ok() const { return code == kErrorSuccess; }
    static Win32Result Failure(long code, std::wstring operation) { return {code, std::move(operation)}; }
};

// The system's text for an error code: winkit::SystemMessage in the
// programs, a stand-in in the tests.
using ReasonText = std::function<std::wstring(long error)>;

// Said wherever Windows refused a change for lack of rights.
inline constexpr wchar_t kAdministratorAdvice[] =
    L"Values for all users of this computer (under HKEY_LOCAL_MACHINE) can only be changed with "
    L"administrator rights.";

}  // namespace winkit
