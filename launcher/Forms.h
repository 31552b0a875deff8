#pragma once
#include <windows.h>

namespace launcher {

// The launcher ends when no window of it remains loaded: an open Settings
// dialog keeps it running after Exit has unloaded the main window.
void FormLoaded();
void FormUnloaded();

HINSTANCE ProgramInstance();
void SetInstance(HINSTANCE instance);

inline constexpr wchar_t kUnexpectedFailure[] =
    L"Tolvane could not complete the action: it ran out of memory or met an unexpected error.";

void ShowFailure(const wchar_t* what);

}  // namespace launcher
