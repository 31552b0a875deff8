#include "Process.h"

#include <vector>

#include "CommandLine.h"
#include "Handles.h"

namespace winkit {

Win32Result StartProgram(const std::wstring& programPath, const std::wstring& commandLine, int showState,
                         const std::wstring& workingFolder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showState);
    PROCESS_INFORMATION process{};
    // CreateProcessW may write into the command line buffer.
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    if (!CreateProcessW(programPath.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &process))
        return LastError(L"Could not start \"" + programPath + L"\"");
    UniqueKernelHandle thread(process.hThread);
    UniqueKernelHandle handle(process.hProcess);
    return {};
}

std::vector<std::wstring> ProgramArguments() {
    std::vector<std::wstring> arguments = SplitCommandLine(GetCommandLineW());
    if (!arguments.empty()) arguments.erase(arguments.begin());
    return arguments;
}

std::wstring ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);  // long path: the name was cut
    }
}

std::wstring ProgramFolder() {
    const std::wstring path = ProgramPath();
    const auto slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return std::wstring();
    // Keep the backslash only at a drive root ("C:\").
    return slash == 2 && path[1] == L':' ? path.substr(0, 3) : path.substr(0, slash);
}

std::wstring WindowsFolder() {
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = GetSystemWindowsDirectoryW(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return L"C:\\Windows";
    return std::wstring(buffer, length);
}

}  // namespace winkit
