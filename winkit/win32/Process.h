#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "Error.h"

namespace winkit {

// Starts a program without waiting for it. The program file is named by its
// full path, so the search path (and a planted file of the same name beside us)
// plays no part; the command line is what the program sees. An empty working
// folder leaves the new program in ours.
Win32Result StartProgram(const std::wstring& programPath, const std::wstring& commandLine, int showState,
                         const std::wstring& workingFolder = std::wstring());

// The arguments after the program's name, split as CommandLineToArgvW splits them.
std::vector<std::wstring> ProgramArguments();

// The running program's full path.
std::wstring ProgramPath();

// The folder of the running program, ending in "\" only at a drive root.
std::wstring ProgramFolder();

// The Windows folder, e.g. C:\Windows.
std::wstring WindowsFolder();

}  // namespace winkit
