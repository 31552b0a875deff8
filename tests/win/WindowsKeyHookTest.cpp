// The Win+E hook under Wine's real input path: SendInput, the low-level hook
// and the message it posts.
#include <windows.h>

#include "MiniTest.h"

#include "LauncherWindow.h"
#include "WindowsKeyHook.h"

namespace {

DWORD WINAPI TypeWindowsE(void*) {
    INPUT keys[4] = {};
    const WORD sequence[4][2] = {{VK_LWIN, 0}, {'E', 0}, {'E', KEYEVENTF_KEYUP}, {VK_LWIN, KEYEVENTF_KEYUP}};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = sequence[i][0];
        keys[i].ki.dwFlags = sequence[i][1];
    }
    SendInput(4, keys, sizeof(INPUT));
    return 0;
}

}  // namespace

// The window's thread is busy (a wait, a message box elsewhere): the hook
// still decides at once, on its own thread, and the message is waiting.
TEST(WindowsKeyHook, AnswersWhileTheWindowsThreadIsBusy) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window != nullptr);
    launcher::WindowsKeyHook hook;
    ASSERT_TRUE(hook.Start(window, launcher::kWindowsKeyMessage).Ok());
    HANDLE typist = CreateThread(nullptr, 0, &TypeWindowsE, nullptr, 0, nullptr);
    ASSERT_TRUE(typist != nullptr);
    WaitForSingleObject(typist, 5000);
    CloseHandle(typist);
    Sleep(500);  // no message is read on this thread meanwhile
    // Posted, not a hook call still waiting for this thread (that would be a sent message).
    EXPECT_TRUE((HIWORD(GetQueueStatus(QS_POSTMESSAGE)) & QS_POSTMESSAGE) != 0);
    MSG msg;
    int opened = 0;
    while (PeekMessageW(&msg, window, launcher::kWindowsKeyMessage, launcher::kWindowsKeyMessage, PM_REMOVE)) ++opened;
    EXPECT_EQ(opened, 1);
    hook.Stop();
    EXPECT_FALSE(hook.Running());
    DestroyWindow(window);
}
