// TestDriver's processes: listing and watching them with the start details
// read from their memory, whether one lives or waits for input, and a named
// mutex held as another program would.
#include "Driver.h"

#include <tlhelp32.h>
#include <winternl.h>
#include <sddl.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <set>
#include <vector>

namespace driver {

namespace {

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

} // namespace

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

namespace {

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

} // namespace

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

} // namespace driver
