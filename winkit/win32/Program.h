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

enum class WaitResult { Signalled, TimedOut, Quit };
// Waits for a process or event while the program's windows keep answering:
// the same dispatch as the message loop. A WM_QUIT met on the way is posted
// again for the loop above and ends the wait.
WaitResult WaitPumpingMessages(HANDLE object, DWORD timeoutMs);

}  // namespace winkit
