// TestDriver: a console program that runs inside a Wine test prefix and lets the
// end-to-end tests look at windows, processes, tray icons and menus, and send
// keyboard input from inside the prefix. Every fact goes to stdout as one JSON
// object per line (UTF-8), so the Python side can parse it line by line.
// Each command lives in the file of its job (Driver.h lists them); this file
// only dispatches.
#include "Driver.h"

#include <map>
#include <string>

using namespace driver;

namespace {

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
