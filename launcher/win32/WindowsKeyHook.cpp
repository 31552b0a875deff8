#include "WindowsKeyHook.h"

namespace launcher {

namespace {

// The hook procedure has no context argument; one launcher has one hook.
WindowsKeyHook* g_hook = nullptr;

// GetAsyncKeyState knows the releases that happened on another desktop,
// which the hook never sees.
class AsyncKeyboard final : public KeyboardState {
public:
    bool IsDown(unsigned key) override { return (GetAsyncKeyState(static_cast<int>(key)) & 0x8000) != 0; }
};

void SendMaskKey() {
    INPUT input[2] = {};
    for (INPUT& key : input) {
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = static_cast<WORD>(kMaskKey);
    }
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

// Long enough for a thread to start on a loaded machine; the hook itself is
// set up in no time.
constexpr DWORD kStartTimeoutMs = 10000;
constexpr DWORD kStopTimeoutMs = 5000;

}  // namespace

LRESULT CALLBACK WindowsKeyHook::KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && g_hook != nullptr) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        // Our own mask key comes back through here. Other injected keys count
        // (an on-screen keyboard's Win+E is the user's too).
        if (!((key->flags & LLKHF_INJECTED) != 0 && key->vkCode == kMaskKey)) {
            const bool down = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
            AsyncKeyboard keyboard;
            const auto decision = g_hook->m_filter.OnKey(key->vkCode, down, keyboard);
            if (decision.openExplorer) PostMessageW(g_hook->m_owner, g_hook->m_message, 0, 0);
            if (decision.sendMaskKey) SendMaskKey();
            if (decision.swallow) return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

DWORD WINAPI WindowsKeyHook::ThreadMain(void* parameter) {
    auto* self = static_cast<WindowsKeyHook*>(parameter);
    // The thread's queue exists before Stop can post WM_QUIT to it.
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    winkit::UniqueHook hook(SetWindowsHookExW(WH_KEYBOARD_LL, &WindowsKeyHook::KeyboardProc,
                                              GetModuleHandleW(nullptr), 0));
    self->m_startError = hook ? 0 : static_cast<long>(GetLastError());
    SetEvent(self->m_ready.Get());
    if (!hook) return 0;
    // A low-level hook is called through its thread's message loop.
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

winkit::Win32Result WindowsKeyHook::Start(HWND owner, UINT message) {
    Stop();
    m_owner = owner;
    m_message = message;
    m_filter = WindowsExplorerKeyFilter{};
    m_ready.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!m_ready) return winkit::LastError(L"Could not watch the keyboard");
    g_hook = this;
    m_thread.Reset(CreateThread(nullptr, 0, &WindowsKeyHook::ThreadMain, this, 0, &m_threadId));
    if (!m_thread) {
        const winkit::Win32Result failed = winkit::LastError(L"Could not watch the keyboard");
        g_hook = nullptr;
        return failed;
    }
    // Keys are answered before anything else this program does.
    SetThreadPriority(m_thread.Get(), THREAD_PRIORITY_HIGHEST);
    const HANDLE waitFor[] = {m_ready.Get(), m_thread.Get()};
    WaitForMultipleObjects(2, waitFor, FALSE, kStartTimeoutMs);
    if (WaitForSingleObject(m_ready.Get(), 0) != WAIT_OBJECT_0 || m_startError != 0) {
        const long error = m_startError != 0 ? m_startError : static_cast<long>(WAIT_TIMEOUT);
        Stop();
        return winkit::Win32Result::Failure(error, L"Could not watch the keyboard");
    }
    return {};
}

void WindowsKeyHook::Stop() {
    if (m_thread) {
        PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
        WaitForSingleObject(m_thread.Get(), kStopTimeoutMs);
    }
    m_thread.Reset();
    m_threadId = 0;
    if (g_hook == this) g_hook = nullptr;
}

}  // namespace launcher
