// TestDriver's windows: listing, waiting for, reading and closing them,
// posting to them, and holding one of a class as another program would.
#include "Driver.h"

#include <vector>

namespace driver {

std::wstring WindowText(HWND hwnd)
{
    wchar_t buffer[1024] = {};
    // WM_GETTEXT with a timeout instead of GetWindowTextW: it also reads edit
    // controls of other processes, and a hung target cannot block the driver.
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, Scaled(1000), &result)) {
        return {};
    }
    return buffer;
}

std::wstring ClassOf(HWND hwnd)
{
    wchar_t buffer[256] = {};
    GetClassNameW(hwnd, buffer, 256);
    return buffer;
}

namespace {

void EmitWindow(const char* kind, HWND hwnd)
{
    DWORD pid = 0;
    const DWORD tid = GetWindowThreadProcessId(hwnd, &pid);
    RECT rect = {};
    GetWindowRect(hwnd, &rect);
    Fact(kind)
        .Hwnd("hwnd", hwnd)
        .Num("pid", pid)
        .Num("tid", tid)
        .Str("class", ClassOf(hwnd))
        .Str("caption", WindowText(hwnd))
        .Bool("visible", IsWindowVisible(hwnd) != FALSE)
        .Bool("enabled", IsWindowEnabled(hwnd) != FALSE)
        .Bool("minimized", IsIconic(hwnd) != FALSE)
        .Bool("maximized", IsZoomed(hwnd) != FALSE)
        .Hwnd("owner", GetWindow(hwnd, GW_OWNER))
        .Rect("rect", rect)
        .Emit();
}

struct WindowFilter {
    std::wstring className;
    std::wstring caption;
    DWORD pid = 0;
    bool visibleOnly = false;

    bool Matches(HWND hwnd) const
    {
        if (visibleOnly && !IsWindowVisible(hwnd)) {
            return false;
        }
        if (!className.empty() && ClassOf(hwnd) != className) {
            return false;
        }
        if (!caption.empty() && WindowText(hwnd) != caption) {
            return false;
        }
        if (pid != 0) {
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner != pid) {
                return false;
            }
        }
        return true;
    }
};

WindowFilter FilterFrom(const Args& args)
{
    WindowFilter filter;
    filter.className = args.Get(L"class");
    filter.caption = args.Get(L"caption");
    filter.pid = static_cast<DWORD>(args.Number(L"pid", 0));
    filter.visibleOnly = args.Has(L"visible");
    return filter;
}

std::vector<HWND> TopLevelWindows()
{
    std::vector<HWND> result;
    EnumWindows(
        [](HWND hwnd, LPARAM param) CALLBACK -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&result));
    return result;
}

} // namespace

int CmdWindows(const Args& args)
{
    const WindowFilter filter = FilterFrom(args);
    for (HWND hwnd : TopLevelWindows()) {
        if (filter.Matches(hwnd)) {
            EmitWindow("window", hwnd);
        }
    }
    return 0;
}

int CmdWaitWindow(const Args& args)
{
    const WindowFilter filter = FilterFrom(args);
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(args.Number(L"timeout", 5000));
    const bool gone = args.Has(L"gone");
    do {
        bool found = false;
        for (HWND hwnd : TopLevelWindows()) {
            if (filter.Matches(hwnd)) {
                found = true;
                if (!gone) {
                    EmitWindow("window", hwnd);
                    return 0;
                }
            }
        }
        if (gone && !found) {
            Fact("gone").Emit();
            return 0;
        }
        Sleep(20);
    } while (GetTickCount64() < deadline);
    Fact("timeout").Emit();
    return 1;
}

int CmdControls(const Args& args)
{
    if (args.Positional().empty()) {
        return Fail(L"controls needs a window handle");
    }
    const HWND parent = ParseHwnd(args.Positional()[0]);
    if (!IsWindow(parent)) {
        return Fail(L"no such window");
    }
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(parent, nullptr), &info);
    EmitWindow("window", parent);
    struct Context {
        HWND parent;
        HWND focus;
    } context = { parent, info.hwndFocus };
    EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM param) CALLBACK -> BOOL {
            const auto* ctx = reinterpret_cast<const Context*>(param);
            RECT rect = {};
            GetWindowRect(hwnd, &rect);
            const std::wstring className = ClassOf(hwnd);
            Fact fact("control");
            fact.Hwnd("hwnd", hwnd)
                .Hwnd("parent", GetParent(hwnd))
                .Num("id", GetDlgCtrlID(hwnd))
                .Str("class", className)
                .Str("text", WindowText(hwnd))
                .Rect("rect", rect)
                .Bool("visible", IsWindowVisible(hwnd) != FALSE)
                .Bool("enabled", IsWindowEnabled(hwnd) != FALSE)
                .Bool("focus", hwnd == ctx->focus)
                .Num("style", static_cast<long long>(GetWindowLongPtrW(hwnd, GWL_STYLE)));
            if (_wcsicmp(className.c_str(), L"Button") == 0) {
                DWORD_PTR state = 0;
                SendMessageTimeoutW(hwnd, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, Scaled(1000), &state);
                fact.Num("checked", static_cast<long long>(state));
            }
            fact.Emit();
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&context));
    return 0;
}

int CmdFocus(const Args&)
{
    const HWND foreground = GetForegroundWindow();
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0, &info);
    Fact("focus")
        .Hwnd("foreground", foreground)
        .Str("foreground_class", foreground ? ClassOf(foreground) : L"")
        .Str("foreground_caption", foreground ? WindowText(foreground) : L"")
        .Hwnd("focus", info.hwndFocus)
        .Str("focus_class", info.hwndFocus ? ClassOf(info.hwndFocus) : L"")
        .Bool("in_menu", (info.flags & GUI_INMENUMODE) != 0)
        .Hwnd("menu_owner", info.hwndMenuOwner)
        .Emit();
    return 0;
}

int CmdCursor(const Args&)
{
    POINT point = {};
    GetCursorPos(&point);
    Fact("cursor").Num("x", point.x).Num("y", point.y).Emit();
    return 0;
}

int CmdSetForeground(const Args& args)
{
    if (args.Positional().empty()) {
        return Fail(L"set-foreground needs a window handle");
    }
    const BOOL done = SetForegroundWindow(ParseHwnd(args.Positional()[0]));
    Fact("set-foreground").Bool("ok", done != FALSE).Emit();
    return done ? 0 : 1;
}

int CmdClose(const Args& args)
{
    if (args.Positional().empty()) {
        return Fail(L"close needs a window handle");
    }
    const BOOL posted = PostMessageW(ParseHwnd(args.Positional()[0]), WM_CLOSE, 0, 0);
    Fact("close").Bool("ok", posted != FALSE).Emit();
    return posted ? 0 : 1;
}

int CmdPost(const Args& args)
{
    const auto& p = args.Positional();
    if (p.size() < 2) {
        return Fail(L"post needs hwnd and message");
    }
    const UINT message = static_cast<UINT>(std::wcstoul(p[1].c_str(), nullptr, 0));
    const WPARAM wParam = p.size() > 2 ? static_cast<WPARAM>(std::wcstoull(p[2].c_str(), nullptr, 0)) : 0;
    const LPARAM lParam = p.size() > 3 ? static_cast<LPARAM>(std::wcstoll(p[3].c_str(), nullptr, 0)) : 0;
    // --times N posts the message N times at once, as the shell sends Enter twice.
    BOOL posted = TRUE;
    for (long long n = args.Number(L"times", 1); n > 0 && posted; --n)
        posted = PostMessageW(ParseHwnd(p[0]), message, wParam, lParam);
    Fact("post").Bool("ok", posted != FALSE).Emit();
    return posted ? 0 : 1;
}

namespace {

// Another program's hidden window of a given class: it counts the close
// messages it gets and stays.
int g_closes = 0;

LRESULT CALLBACK HeldWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        ++g_closes;
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

int CmdHoldWindow(const Args& args)
{
    const std::wstring cls = args.Get(L"class");
    const DWORD ms = static_cast<DWORD>(args.Number(L"ms", 10000));
    WNDCLASSW wc{};
    wc.lpfnWndProc = HeldWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = cls.c_str();
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, cls.c_str(), L"Tolvane", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                wc.hInstance, nullptr);
    Fact("held").Bool("ok", hwnd != nullptr).Num("hwnd", reinterpret_cast<UINT_PTR>(hwnd)).Emit();
    if (!hwnd) {
        return 1;
    }
    const DWORD end = GetTickCount() + ms;
    for (DWORD now = GetTickCount(); static_cast<int>(end - now) > 0; now = GetTickCount()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
    }
    Fact("released").Num("closes", g_closes).Emit();
    return 0;
}

} // namespace driver
