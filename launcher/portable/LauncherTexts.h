#pragma once
// Texts every window of the launcher shares.
namespace launcher {

inline constexpr wchar_t kLauncherCaption[] = L"Tolvane";
inline constexpr wchar_t kUnexpectedFailure[] =
    L"Tolvane could not complete the action: it ran out of memory or met an unexpected error.";

}  // namespace launcher
