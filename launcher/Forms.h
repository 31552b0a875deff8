#pragma once
#include <windows.h>

namespace launcher {

// The launcher ends when no window of it remains loaded: an open Settings
// dialog keeps it running after Exit has unloaded the main window.
void FormLoaded();
void FormUnloaded();

HINSTANCE ProgramInstance();
void SetInstance(HINSTANCE instance);

// Runs fn and turns anything it throws into a message: no handler ends the
// program by failing.
template <typename Fn>
void Guarded(Fn&& fn);

void ShowFailure(const wchar_t* what);

template <typename Fn>
void Guarded(Fn&& fn) {
    try {
        fn();
    } catch (...) {
        ShowFailure(L"Tolvane could not complete the action: it ran out of memory or met an unexpected error.");
    }
}

}  // namespace launcher
