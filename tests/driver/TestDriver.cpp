// TestDriver: a console program that runs inside a Wine test prefix and lets the
// end-to-end tests look at windows, processes, tray icons and menus, and send
// keyboard input from inside the prefix. Every fact goes to stdout as one JSON
// object per line (UTF-8), so the Python side can parse it line by line.
#include <windows.h>
#include <exdisp.h>
#include <shellapi.h>
#include <shlguid.h>
#include <tlhelp32.h>
#include <winternl.h>
#include <sddl.h>

#include <cstdio>
#include <cwchar>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Json.h"

namespace {

using driver_json::JsonString;
using driver_json::ToUtf8;

// ---------------------------------------------------------------- output


// Builds one JSON line; values are added in call order.
class Fact {
public:
    explicit Fact(const char* kind) { m_text = std::string("{\"fact\":\"") + kind + "\""; }
    Fact& Str(const char* key, const std::wstring& value)
    {
        m_text += std::string(",\"") + key + "\":" + JsonString(value);
        return *this;
    }
    Fact& Num(const char* key, long long value)
    {
        m_text += std::string(",\"") + key + "\":" + std::to_string(value);
        return *this;
    }
    Fact& Bool(const char* key, bool value)
    {
        m_text += std::string(",\"") + key + "\":" + (value ? "true" : "false");
        return *this;
    }
    Fact& Hwnd(const char* key, HWND value) { return Num(key, static_cast<long long>(reinterpret_cast<INT_PTR>(value))); }
    Fact& Rect(const char* key, const RECT& r)
    {
        m_text += std::string(",\"") + key + "\":[" + std::to_string(r.left) + "," + std::to_string(r.top) + ","
            + std::to_string(r.right) + "," + std::to_string(r.bottom) + "]";
        return *this;
    }
    // Writes straight to the handle: the C runtime's text mode would mangle
    // UTF-8 and buffer lines that the tests wait for.
    void Emit()
    {
        m_text += "}\n";
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), m_text.data(), static_cast<DWORD>(m_text.size()), &written, nullptr);
    }

private:
    std::string m_text;
};

// The harness's factor for a busy machine (tolvane_e2e.time_scale), so that
// the driver's own waits stretch as the harness's do.
DWORD Scaled(DWORD ms)
{
    static const double scale = [] {
        wchar_t text[32] = {};
        const DWORD length = GetEnvironmentVariableW(L"TOLVANE_E2E_TIME_SCALE", text, 32);
        const double value = length > 0 && length < 32 ? std::wcstod(text, nullptr) : 1.0;
        return value > 1.0 ? value : 1.0;
    }();
    return static_cast<DWORD>(ms * scale);
}

int Fail(const std::wstring& message)
{
    Fact("error").Str("message", message).Emit();
    return 2;
}

// ---------------------------------------------------------------- arguments

class Args {
public:
    Args(int argc, wchar_t** argv, int first)
    {
        for (int i = first; i < argc; ++i) {
            const std::wstring arg = argv[i];
            if (arg.size() > 2 && arg.compare(0, 2, L"--") == 0) {
                const std::wstring name = arg.substr(2);
                if (i + 1 < argc && std::wstring(argv[i + 1]).compare(0, 2, L"--") != 0 && !IsFlag(name)) {
                    m_options[name] = argv[++i];
                } else {
                    m_options[name] = L"1";
                }
            } else {
                m_positional.push_back(arg);
            }
        }
    }
    bool Has(const std::wstring& name) const { return m_options.count(name) != 0; }
    std::wstring Get(const std::wstring& name, const std::wstring& fallback = L"") const
    {
        const auto it = m_options.find(name);
        return it == m_options.end() ? fallback : it->second;
    }
    long long Number(const std::wstring& name, long long fallback) const
    {
        return Has(name) ? std::wcstoll(Get(name).c_str(), nullptr, 0) : fallback;
    }
    const std::vector<std::wstring>& Positional() const { return m_positional; }

private:
    static bool IsFlag(const std::wstring& name) { return name == L"visible" || name == L"all" || name == L"gone" || name == L"64"; }
    std::map<std::wstring, std::wstring> m_options;
    std::vector<std::wstring> m_positional;
};

HWND ParseHwnd(const std::wstring& text)
{
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(std::wcstoll(text.c_str(), nullptr, 0)));
}

// ---------------------------------------------------------------- windows

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

// ---------------------------------------------------------------- keyboard

struct NamedKey {
    const wchar_t* name;
    WORD vk;
};

const NamedKey kNamedKeys[] = {
    { L"enter", VK_RETURN }, { L"return", VK_RETURN }, { L"esc", VK_ESCAPE }, { L"escape", VK_ESCAPE },
    { L"tab", VK_TAB }, { L"space", VK_SPACE }, { L"up", VK_UP }, { L"down", VK_DOWN }, { L"left", VK_LEFT },
    { L"right", VK_RIGHT }, { L"home", VK_HOME }, { L"end", VK_END }, { L"backspace", VK_BACK },
    { L"delete", VK_DELETE }, { L"alt", VK_MENU }, { L"ctrl", VK_CONTROL }, { L"shift", VK_SHIFT },
    { L"f1", VK_F1 }, { L"f4", VK_F4 }, { L"f10", VK_F10 }, { L"f12", VK_F12 }, { L"apps", VK_APPS },
    { L"win", VK_LWIN },
};

bool KeyFromName(const std::wstring& name, WORD& vk)
{
    for (const NamedKey& key : kNamedKeys) {
        if (_wcsicmp(key.name, name.c_str()) == 0) {
            vk = key.vk;
            return true;
        }
    }
    if (name.size() == 1) {
        const wchar_t c = name[0];
        if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z')) {
            vk = static_cast<WORD>(towupper(c));
            return true;
        }
        if (c >= L'0' && c <= L'9') {
            vk = static_cast<WORD>(c);
            return true;
        }
    }
    return false;
}

INPUT KeyInput(WORD vk, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if (vk == VK_UP || vk == VK_DOWN || vk == VK_LEFT || vk == VK_RIGHT || vk == VK_HOME || vk == VK_END
        || vk == VK_DELETE) {
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    }
    return input;
}

bool SendAll(std::vector<INPUT>& inputs)
{
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

// Each positional argument is one chord such as "down", "enter" or "alt+b".
int CmdKeys(const Args& args)
{
    const DWORD delay = static_cast<DWORD>(args.Number(L"delay", 60));
    for (const std::wstring& chord : args.Positional()) {
        std::vector<WORD> keys;
        size_t start = 0;
        while (start <= chord.size()) {
            size_t plus = chord.find(L'+', start);
            if (plus == start && plus + 1 == chord.size()) {
                plus = std::wstring::npos;  // a lone "+" key
            }
            const std::wstring part = chord.substr(start, plus == std::wstring::npos ? std::wstring::npos : plus - start);
            WORD vk = 0;
            if (!KeyFromName(part, vk)) {
                return Fail(L"unknown key: " + part);
            }
            keys.push_back(vk);
            if (plus == std::wstring::npos) {
                break;
            }
            start = plus + 1;
        }
        std::vector<INPUT> inputs;
        for (const WORD vk : keys) {
            inputs.push_back(KeyInput(vk, false));
        }
        for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
            inputs.push_back(KeyInput(*it, true));
        }
        const bool sent = SendAll(inputs);
        Fact("key").Str("chord", chord).Bool("ok", sent).Emit();
        if (!sent) {
            return 1;
        }
        Sleep(delay);
    }
    return 0;
}

// The edit box that has the keyboard focus, if the focus is in one.
HWND FocusedEdit()
{
    const HWND foreground = GetForegroundWindow();
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!foreground || !GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &info) || !info.hwndFocus) {
        return nullptr;
    }
    return _wcsicmp(ClassOf(info.hwndFocus).c_str(), L"Edit") == 0 ? info.hwndFocus : nullptr;
}

// Types text as unicode characters, so letters outside the keyboard layout arrive too.
// On a busy machine the program may not have read the last keys when they are
// all sent, and a menu its thread opens next takes them instead (the tray menu
// and the Settings dialog share a thread): an edit box typed into is read back
// until it shows the text.
int CmdType(const Args& args)
{
    const DWORD delay = static_cast<DWORD>(args.Number(L"delay", 15));
    const HWND edit = FocusedEdit();
    for (const std::wstring& text : args.Positional()) {
        for (const wchar_t c : text) {
            std::vector<INPUT> inputs(2);
            for (int i = 0; i < 2; ++i) {
                inputs[static_cast<size_t>(i)].type = INPUT_KEYBOARD;
                inputs[static_cast<size_t>(i)].ki.wScan = c;
                inputs[static_cast<size_t>(i)].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
            }
            if (!SendAll(inputs)) {
                return Fail(L"SendInput failed");
            }
            Sleep(delay);
        }
        bool shown = edit == nullptr;
        for (const ULONGLONG giveUp = GetTickCount64() + Scaled(5000); !shown; Sleep(20)) {
            shown = WindowText(edit).find(text) != std::wstring::npos;
            if (GetTickCount64() >= giveUp) break;
        }
        Fact("typed").Str("text", text).Bool("shown", shown).Emit();
    }
    return 0;
}

// ---------------------------------------------------------------- processes

// Full 64-bit layout of RTL_USER_PROCESS_PARAMETERS up to ShowWindowFlags;
// winternl.h hides the fields that carry the STARTUPINFO show state.
struct ProcessParameters64 {
    ULONG MaximumLength;
    ULONG Length;
    ULONG Flags;
    ULONG DebugFlags;
    HANDLE ConsoleHandle;
    ULONG ConsoleFlags;
    HANDLE StandardInput;
    HANDLE StandardOutput;
    HANDLE StandardError;
    UNICODE_STRING CurrentDirectoryPath;
    HANDLE CurrentDirectoryHandle;
    UNICODE_STRING DllPath;
    UNICODE_STRING ImagePathName;
    UNICODE_STRING CommandLine;
    PVOID Environment;
    ULONG StartingX;
    ULONG StartingY;
    ULONG CountX;
    ULONG CountY;
    ULONG CountCharsX;
    ULONG CountCharsY;
    ULONG FillAttribute;
    ULONG WindowFlags;
    ULONG ShowWindowFlags;
};
static_assert(sizeof(void*) != 8 || offsetof(ProcessParameters64, WindowFlags) == 0xa4, "PEB layout");

using NtQueryInformationProcessFn = LONG(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

struct ProcessDetails {
    bool ok = false;
    std::wstring commandLine;
    std::wstring imagePath;
    std::wstring currentDirectory;
    ULONG windowFlags = 0;
    ULONG showWindow = 0;
    std::wstring error;
};

bool ReadRemote(HANDLE process, const void* address, void* buffer, size_t size)
{
    SIZE_T done = 0;
    return ReadProcessMemory(process, address, buffer, size, &done) && done == size;
}

std::wstring ReadRemoteString(HANDLE process, const UNICODE_STRING& text)
{
    if (text.Length == 0 || text.Buffer == nullptr) {
        return {};
    }
    std::wstring result(text.Length / sizeof(wchar_t), L'\0');
    if (!ReadRemote(process, text.Buffer, result.data(), text.Length)) {
        return {};
    }
    return result;
}

// A 32-bit process (WOW64) has a 64-bit PEB and 64-bit parameters too, read
// the same way, except where the 32-bit half runs under qemu-user: there its
// memory lies at the emulator's "guest base" above the addresses it uses,
// and the server reads it there. The harness names that base
// (TOLVANE_QEMU_GUEST_BASE); elsewhere it is 0.
ULONG_PTR Wow64MemoryOffset(HANDLE process, NtQueryInformationProcessFn query)
{
    static const ULONG_PTR base = [] {
        wchar_t text[32] = {};
        const DWORD length = GetEnvironmentVariableW(L"TOLVANE_QEMU_GUEST_BASE", text, 32);
        return length > 0 && length < 32 ? static_cast<ULONG_PTR>(std::wcstoull(text, nullptr, 0)) : 0;
    }();
    ULONG_PTR wow64 = 0;
    if (base == 0 || query(process, ProcessWow64Information, &wow64, sizeof wow64, nullptr) != 0 || wow64 == 0) {
        return 0;
    }
    return base;
}

template <typename T>
T* Moved(T* address, ULONG_PTR offset)
{
    return reinterpret_cast<T*>(reinterpret_cast<ULONG_PTR>(address) + offset);
}

ProcessDetails ReadProcessDetails(DWORD pid)
{
    static const auto query = reinterpret_cast<NtQueryInformationProcessFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    ProcessDetails details;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) {
        details.error = L"OpenProcess failed";
        return details;
    }
    // A process caught right after its creation may not have its parameters
    // in place yet: Wine sets the lengths before the text arrives (the text
    // then reads as NULs). Retry until two reads agree on complete texts,
    // for up to 2 s: a 32-bit process under qemu sets itself up slowly.
    ProcessDetails previous;
    const ULONGLONG giveUp = GetTickCount64() + Scaled(2000);
    for (int attempt = 0; GetTickCount64() < giveUp && !details.ok; ++attempt) {
        if (attempt > 0) {
            Sleep(1);
        }
        // Asked anew each time: a 64-bit process that a 32-bit one starts
        // counts as 32-bit until it has set itself up.
        const ULONG_PTR offset = Wow64MemoryOffset(process, query);
        PROCESS_BASIC_INFORMATION basic = {};
        if (query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 || !basic.PebBaseAddress) {
            details.error = L"NtQueryInformationProcess failed";
            continue;
        }
        PEB peb = {};
        if (!ReadRemote(process, Moved(basic.PebBaseAddress, offset), &peb, sizeof peb) || !peb.ProcessParameters) {
            details.error = L"PEB not readable";
            continue;
        }
        ProcessParameters64 params = {};
        if (!ReadRemote(process, Moved(peb.ProcessParameters, offset), &params, sizeof params)
            || params.CommandLine.Length == 0) {
            details.error = L"process parameters not readable";
            continue;
        }
        for (UNICODE_STRING* text : { &params.CommandLine, &params.ImagePathName, &params.CurrentDirectoryPath }) {
            text->Buffer = Moved(text->Buffer, offset);
        }
        ProcessDetails current;
        current.commandLine = ReadRemoteString(process, params.CommandLine);
        current.imagePath = ReadRemoteString(process, params.ImagePathName);
        current.currentDirectory = ReadRemoteString(process, params.CurrentDirectoryPath);
        current.windowFlags = params.WindowFlags;
        current.showWindow = params.ShowWindowFlags;
        const bool complete = !current.commandLine.empty() && !current.imagePath.empty()
            && current.commandLine.find(L'\0') == std::wstring::npos
            && current.imagePath.find(L'\0') == std::wstring::npos
            && current.currentDirectory.find(L'\0') == std::wstring::npos;
        if (!complete) {
            details.error = L"process parameters incomplete";
            previous = ProcessDetails();
            continue;
        }
        if (previous.commandLine == current.commandLine && previous.imagePath == current.imagePath
            && previous.currentDirectory == current.currentDirectory && previous.windowFlags == current.windowFlags
            && previous.showWindow == current.showWindow) {
            details = current;
            details.ok = true;
        } else {
            previous = current;
        }
    }
    CloseHandle(process);
    return details;
}

std::map<DWORD, PROCESSENTRY32W> SnapshotProcesses()
{
    std::map<DWORD, PROCESSENTRY32W> result;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return result;
    }
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        result[entry.th32ProcessID] = entry;
    }
    CloseHandle(snapshot);
    return result;
}

void EmitProcess(const char* kind, const PROCESSENTRY32W& entry, const ProcessDetails* details, ULONGLONG seen = 0)
{
    Fact fact(kind);
    fact.Num("tick", static_cast<long long>(seen ? seen : GetTickCount64())).Num("pid", entry.th32ProcessID).Num("ppid", entry.th32ParentProcessID).Str("image", entry.szExeFile);
    if (details) {
        fact.Bool("read", details->ok)
            .Str("cmdline", details->commandLine)
            .Str("image_path", details->imagePath)
            .Str("cwd", details->currentDirectory)
            .Num("window_flags", details->windowFlags)
            .Num("show", details->showWindow)
            .Str("error", details->error);
    }
    fact.Emit();
}

int CmdProcesses(const Args& args)
{
    const std::wstring name = args.Get(L"name");
    for (const auto& [pid, entry] : SnapshotProcesses()) {
        if (!name.empty() && _wcsicmp(entry.szExeFile, name.c_str()) != 0) {
            continue;
        }
        const ProcessDetails details = ReadProcessDetails(pid);
        EmitProcess("process", entry, &details);
    }
    return 0;
}

// Prints "ready" once the baseline is taken, then every process that appears
// during the watch, with the command line and show state read from its PEB.
int CmdWatch(const Args& args)
{
    const ULONGLONG duration = static_cast<ULONGLONG>(args.Number(L"ms", 3000));
    const std::wstring name = args.Get(L"name");
    const long long stopAfter = args.Number(L"count", 0);
    const long long settle = args.Number(L"settle", 0);
    std::set<DWORD> known;
    for (const auto& [pid, entry] : SnapshotProcesses()) {
        known.insert(pid);
    }
    Fact("ready").Num("tick", static_cast<long long>(GetTickCount64())).Num("known", static_cast<long long>(known.size())).Emit();
    ULONGLONG deadline = GetTickCount64() + duration;
    long long matched = 0;
    // Mouse button changes are reported through a low-level mouse hook, so a
    // test can time a process start from the moment the click reached Wine
    // rather than from the moment xdotool returned. The hook runs on this
    // thread, hence the message pump in the loop.
    HHOOK mouseHook = SetWindowsHookExW(
        WH_MOUSE_LL,
        [](int code, WPARAM wParam, LPARAM lParam) CALLBACK -> LRESULT {
            if (code == HC_ACTION) {
                const wchar_t* button = nullptr;
                bool down = false;
                switch (wParam) {
                case WM_LBUTTONDOWN: button = L"left"; down = true; break;
                case WM_LBUTTONUP: button = L"left"; break;
                case WM_RBUTTONDOWN: button = L"right"; down = true; break;
                case WM_RBUTTONUP: button = L"right"; break;
                default: break;
                }
                if (button) {
                    const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
                    Fact("button")
                        .Num("tick", static_cast<long long>(GetTickCount64()))
                        .Str("button", button)
                        .Bool("down", down)
                        .Num("x", info->pt.x)
                        .Num("y", info->pt.y)
                        .Emit();
                }
            }
            return CallNextHookEx(nullptr, code, wParam, lParam);
        },
        GetModuleHandleW(nullptr), 0);
    while (GetTickCount64() < deadline) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
        for (auto [pid, entry] : SnapshotProcesses()) {
            if (!known.insert(pid).second) {
                continue;
            }
            const ULONGLONG seen = GetTickCount64();
            const ProcessDetails details = ReadProcessDetails(pid);
            // A process caught while it starts has no image name in the
            // snapshot yet; its PEB already names the image.
            if (entry.szExeFile[0] == L'\0' && !details.imagePath.empty()) {
                const std::wstring base = details.imagePath.substr(details.imagePath.find_last_of(L'\\') + 1);
                lstrcpynW(entry.szExeFile, base.c_str(), MAX_PATH);
            }
            // A process whose name could not be learned at all is reported
            // as a match, so that a test fails loudly instead of missing it.
            if (!name.empty() && entry.szExeFile[0] != L'\0' && _wcsicmp(entry.szExeFile, name.c_str()) != 0) {
                EmitProcess("other-process", entry, &details, seen);
                continue;
            }
            EmitProcess("new-process", entry, &details, seen);
            if (stopAfter > 0 && ++matched >= stopAfter) {
                // Keep watching a little longer so that an unexpected second
                // start is still seen.
                deadline = std::min<ULONGLONG>(deadline, GetTickCount64() + static_cast<ULONGLONG>(settle));
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
    }
    if (mouseHook) {
        UnhookWindowsHookEx(mouseHook);
    }
    Fact("done").Emit();
    return 0;
}

// Holds a key combination as another program would (RegisterHotKey), prints
// "held" and keeps it for --ms, counting the WM_HOTKEY it receives.
int CmdHoldHotkey(const Args& args)
{
    const UINT modifiers = static_cast<UINT>(args.Number(L"mods", 0));
    const UINT vk = static_cast<UINT>(args.Number(L"vk", 0));
    const DWORD ms = static_cast<DWORD>(args.Number(L"ms", 10000));
    const BOOL held = RegisterHotKey(nullptr, 1, modifiers, vk);
    Fact("held").Bool("ok", held != FALSE).Num("error", held ? 0 : GetLastError()).Emit();
    if (!held) {
        return 1;
    }
    const DWORD end = GetTickCount() + ms;
    int presses = 0;
    for (DWORD now = GetTickCount(); static_cast<int>(end - now) > 0; now = GetTickCount()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_HOTKEY) {
                ++presses;
            }
        }
    }
    UnregisterHotKey(nullptr, 1);
    Fact("released").Num("presses", presses).Emit();
    return 0;
}

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

// The signed-in user's SID as text ("S-1-5-21-..."), or "".
std::wstring UserSidText()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return L"";
    }
    std::vector<DWORD_PTR> buffer(256);
    DWORD size = 0;
    const BOOL got = GetTokenInformation(token, TokenUser, buffer.data(),
                                         static_cast<DWORD>(buffer.size() * sizeof(DWORD_PTR)), &size);
    CloseHandle(token);
    wchar_t* text = nullptr;
    if (!got || !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
        return L"";
    }
    const std::wstring sid = text;
    LocalFree(text);
    return sid;
}

// Another program holding a named kernel object (a mutex) for ms; "<SID>" in
// the name stands for the user's SID.
int CmdHoldMutex(const Args& args)
{
    std::wstring name = args.Get(L"name");
    const std::size_t at = name.find(L"<SID>");
    if (at != std::wstring::npos) {
        name.replace(at, 5, UserSidText());
    }
    const DWORD ms = static_cast<DWORD>(args.Number(L"ms", 10000));
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    const DWORD error = GetLastError();
    Fact("held").Bool("ok", mutex != nullptr && error != ERROR_ALREADY_EXISTS).Num("error", error)
        .Str("name", name).Emit();
    if (!mutex) {
        return 1;
    }
    Sleep(ms);
    CloseHandle(mutex);
    Fact("released").Emit();
    return 0;
}

int CmdAlive(const Args& args)
{
    if (args.Positional().empty()) {
        return Fail(L"alive needs a pid");
    }
    const DWORD pid = static_cast<DWORD>(std::wcstoul(args.Positional()[0].c_str(), nullptr, 0));
    bool alive = false;
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process) {
        alive = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
        CloseHandle(process);
    }
    Fact("alive").Num("pid", pid).Bool("alive", alive).Emit();
    return 0;
}

// ---------------------------------------------------------------- tray

// A program's start is over when its first thread waits for input with
// none pending: the icon may show before the program registers its hotkeys
// and its keyboard hook, and a key sent in between is lost.
int CmdWaitIdle(const Args& args)
{
    if (args.Positional().empty()) {
        return Fail(L"wait-idle needs a pid");
    }
    const DWORD pid = static_cast<DWORD>(std::wcstoul(args.Positional()[0].c_str(), nullptr, 0));
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!process) {
        return Fail(L"OpenProcess failed");
    }
    const DWORD result = WaitForInputIdle(process, static_cast<DWORD>(args.Number(L"timeout", 5000)));
    CloseHandle(process);
    Fact("idle").Num("pid", pid).Bool("idle", result == 0).Emit();
    return 0;
}

// Whether the desktop's Explorer answers for its window through ShellWindows,
// the way Setup reaches it to start the launcher as the desktop's user.
int CmdShellReady(const Args&)
{
    bool ready = false;
    if (SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        IShellWindows* windows = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                       reinterpret_cast<void**>(&windows)))) {
            VARIANT none;
            VariantInit(&none);
            long hwnd = 0;
            IDispatch* desktop = nullptr;
            ready = windows->FindWindowSW(&none, &none, SWC_DESKTOP, &hwnd, SWFO_NEEDDISPATCH, &desktop) == S_OK &&
                    desktop != nullptr;
            if (desktop) {
                desktop->Release();
            }
            windows->Release();
        }
        CoUninitialize();
    }
    Fact("shell").Bool("ready", ready).Emit();
    return 0;
}

int CmdTrayDelete(const Args& args)
{
    if (args.Positional().empty()) {
        return Fail(L"tray-delete needs the owner window handle");
    }
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = ParseHwnd(args.Positional()[0]);
    data.uID = static_cast<UINT>(args.Number(L"uid", 125));
    const BOOL done = Shell_NotifyIconW(NIM_DELETE, &data);
    Fact("tray-delete").Bool("ok", done != FALSE).Emit();
    return done ? 0 : 1;
}

int CmdTaskbarCreated(const Args& args)
{
    const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    if (args.Positional().empty()) {
        DWORD_PTR result = 0;
        const LRESULT sent
            = SendMessageTimeoutW(HWND_BROADCAST, message, 0, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL, Scaled(3000), &result);
        Fact("taskbar-created").Num("message", message).Bool("broadcast", true).Bool("ok", sent != 0).Emit();
        return 0;
    }
    const BOOL posted = PostMessageW(ParseHwnd(args.Positional()[0]), message, 0, 0);
    Fact("taskbar-created").Num("message", message).Bool("broadcast", false).Bool("ok", posted != FALSE).Emit();
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

// ---------------------------------------------------------------- registry

// "wine reg query" prints through the console code page and loses letters
// outside it; reading here keeps every character of the value.
HKEY RootFromName(const std::wstring& key, std::wstring& subKey)
{
    const size_t slash = key.find(L'\\');
    const std::wstring root = key.substr(0, slash);
    subKey = slash == std::wstring::npos ? L"" : key.substr(slash + 1);
    if (_wcsicmp(root.c_str(), L"HKLM") == 0 || _wcsicmp(root.c_str(), L"HKEY_LOCAL_MACHINE") == 0) {
        return HKEY_LOCAL_MACHINE;
    }
    if (_wcsicmp(root.c_str(), L"HKCU") == 0 || _wcsicmp(root.c_str(), L"HKEY_CURRENT_USER") == 0) {
        return HKEY_CURRENT_USER;
    }
    return nullptr;
}

int CmdRegGet(const Args& args)
{
    const auto& p = args.Positional();
    if (p.size() < 2) {
        return Fail(L"reg-get needs key and value name");
    }
    std::wstring subKey;
    const HKEY root = RootFromName(p[0], subKey);
    if (!root) {
        return Fail(L"unknown root in " + p[0]);
    }
    // HKEY_CURRENT_USER is read without a view, as the programs read it.
    const REGSAM view = root != HKEY_LOCAL_MACHINE ? 0 : args.Has(L"64") ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) {
        Fact("reg-value").Str("name", p[1]).Bool("exists", false).Bool("key_exists", false).Emit();
        return 0;
    }
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExW(key, p[1].c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) {
        RegCloseKey(key);
        Fact("reg-value").Str("name", p[1]).Bool("exists", false).Bool("key_exists", true).Emit();
        return 0;
    }
    std::vector<BYTE> data(size + 2, 0);
    RegQueryValueExW(key, p[1].c_str(), nullptr, &type, data.data(), &size);
    RegCloseKey(key);
    Fact fact("reg-value");
    fact.Str("name", p[1]).Bool("exists", true).Bool("key_exists", true).Num("type", type).Num("size", size);
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0') {
            text.pop_back();
        }
        fact.Str("value", text);
    } else if (type == REG_DWORD && size >= 4) {
        fact.Num("value", *reinterpret_cast<const DWORD*>(data.data()));
    }
    fact.Emit();
    return 0;
}

// ---------------------------------------------------------------- menus

// Another process's popup menu cannot be read from here under Wine, nor a
// list view's texts (they come back through a pointer), so a WH_CALLWNDPROC
// hook from MenuProbe.dll reads them inside the owner's thread and leaves the
// result in a file in the temp folder; `message` (registered) asks for it.
int Probe(HWND owner, const wchar_t* message)
{
    const DWORD thread = GetWindowThreadProcessId(owner, nullptr);
    if (!thread) {
        return Fail(L"no such window");
    }
    wchar_t modulePath[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, modulePath, MAX_PATH);
    std::wstring dllPath = modulePath;
    dllPath = dllPath.substr(0, dllPath.find_last_of(L'\\') + 1) + L"MenuProbe.dll";
    HMODULE probe = LoadLibraryW(dllPath.c_str());
    if (!probe) {
        return Fail(L"cannot load " + dllPath);
    }
    const auto hookProc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, "MenuProbeCallWndProc")));
    if (!hookProc) {
        return Fail(L"MenuProbeCallWndProc missing");
    }
    wchar_t tempPath[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, tempPath);
    const std::wstring resultPath = std::wstring(tempPath) + L"TolvaneMenuProbe.txt";
    DeleteFileW(resultPath.c_str());

    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, hookProc, probe, thread);
    if (!hook) {
        return Fail(L"SetWindowsHookExW failed");
    }
    const UINT dumpMessage = RegisterWindowMessageW(message);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(owner, dumpMessage, 0, 0, SMTO_ABORTIFHUNG, Scaled(3000), &result);
    UnhookWindowsHookEx(hook);

    HANDLE file = CreateFileW(resultPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return Fail(L"the menu probe wrote nothing (hook not called in the target?)");
    }
    std::string content(64 * 1024, '\0');
    DWORD read = 0;
    ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr);
    CloseHandle(file);
    DeleteFileW(resultPath.c_str());
    content.resize(read);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), content.data(), read, &written, nullptr);
    return 0;
}

int CmdMenu(const Args& args)
{
    if (args.Positional().empty()) {
        return Fail(L"menu needs the menu owner's window handle");
    }
    return Probe(ParseHwnd(args.Positional()[0]), L"Tolvane.MenuProbe.Dump");
}

int CmdListView(const Args& args)
{
    if (args.Positional().empty()) {
        return Fail(L"listview needs the list view's window handle");
    }
    return Probe(ParseHwnd(args.Positional()[0]), L"Tolvane.MenuProbe.DumpList");
}

// ---------------------------------------------------------------- main

void Usage()
{
    Fact("usage")
        .Str("commands",
            L"windows|wait-window [--class C] [--caption T] [--pid P] [--visible] [--timeout MS] [--gone]; "
            L"controls HWND; focus; cursor; set-foreground HWND; close HWND; keys CHORD...; type TEXT...; "
            L"processes [--name N]; watch [--ms MS] [--name N] [--count K --settle MS]; alive PID; wait-idle PID [--timeout MS]; shell-ready; "
            L"tray-delete HWND [--uid N]; taskbar-created [HWND]; post HWND MSG [W] [L] [--times N]; menu HWND; listview HWND; reg-get KEY NAME [--64]; "
            L"hold-hotkey --mods M --vk V [--ms MS]; hold-window --class C [--ms MS]; hold-mutex --name N [--ms MS]")
        .Emit();
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        Usage();
        return 2;
    }
    const std::wstring command = argv[1];
    const Args args(argc, argv, 2);
    using Handler = int (*)(const Args&);
    const std::map<std::wstring, Handler> handlers = {
        { L"windows", CmdWindows },
        { L"wait-window", CmdWaitWindow },
        { L"controls", CmdControls },
        { L"focus", CmdFocus },
        { L"cursor", CmdCursor },
        { L"set-foreground", CmdSetForeground },
        { L"close", CmdClose },
        { L"keys", CmdKeys },
        { L"type", CmdType },
        { L"shell-ready", CmdShellReady },
        { L"processes", CmdProcesses },
        { L"watch", CmdWatch },
        { L"alive", CmdAlive },
        { L"wait-idle", CmdWaitIdle },
        { L"hold-hotkey", CmdHoldHotkey },
        { L"hold-window", CmdHoldWindow },
        { L"hold-mutex", CmdHoldMutex },
        { L"tray-delete", CmdTrayDelete },
        { L"taskbar-created", CmdTaskbarCreated },
        { L"post", CmdPost },
        { L"menu", CmdMenu },
        { L"listview", CmdListView },
        { L"reg-get", CmdRegGet },
    };
    const auto it = handlers.find(command);
    if (it == handlers.end()) {
        Usage();
        return 2;
    }
    return it->second(args);
}
