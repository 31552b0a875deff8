#pragma once
// F1 in the launcher's windows opens the installed guide.
#include <windows.h>

namespace launcher {

// Opens the Readme.txt beside the running Tolvane.exe with the program the
// user has for text files, or says why not, in a message owned by `owner`.
void OpenGuide(HWND owner);

// For a window's OnMessage: WM_HELP, which the focused control's default
// handling sends to its dialog on F1, opens the guide; true when it was that.
bool AnswerHelp(HWND window, UINT message, LRESULT& result);

}  // namespace launcher
