#pragma once
#include <windows.h>

#include "Error.h"
#include "Handles.h"
#include "WindowsKeyFilter.h"

namespace launcher {

// Win+E, which Windows keeps from RegisterHotKey, taken by a low-level
// keyboard hook. The hook runs on a thread of its own that does nothing but
// decide, post and send: Windows silently removes a hook that does not answer
// within its timeout, and the UI thread may be busy (a message box, a wait).
class WindowsKeyHook {
public:
    WindowsKeyHook() = default;
    WindowsKeyHook(const WindowsKeyHook&) = delete;
    WindowsKeyHook& operator=(const WindowsKeyHook&) = delete;
    ~WindowsKeyHook() { Stop(); }

    // Each Win+E posts `message` to `owner`. The hook is in place when this returns.
    winkit::Win32Result Start(HWND owner, UINT message);
    void Stop();
    bool Running() const { return static_cast<bool>(m_thread); }

private:
    static DWORD WINAPI ThreadMain(void* self);
    static LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam);

    HWND m_owner = nullptr;
    UINT m_message = 0;
    winkit::UniqueKernelHandle m_thread;
    DWORD m_threadId = 0;
    winkit::UniqueKernelHandle m_ready;
    long m_startError = 0;
    WindowsExplorerKeyFilter m_filter;  // used on the hook's thread only
};

}  // namespace launcher
