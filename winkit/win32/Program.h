#pragma once
#include <windows.h>

namespace winkit {

// A program started from a downloads folder would load a DLL planted beside
// it; from here on DLLs come from the system folder only. Looked up because
// Windows 7 without KB2533623 lacks the function.
void RestrictDllSearchToSystemFolder();

// The message loop of a program of forms: Tab, the arrow keys and Enter move
// between controls in whichever top-level window has the keyboard.
int RunMessageLoop();

}  // namespace winkit
