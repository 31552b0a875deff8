// TestDriver's readings from inside another program: its popup menu and its
// list views, through MenuProbe.dll.
#include "Driver.h"

namespace driver {

namespace {

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

} // namespace

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

} // namespace driver
