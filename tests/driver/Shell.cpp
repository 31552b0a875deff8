// TestDriver's view of the desktop's shell: its ShellWindows, the tray and
// the TaskbarCreated message.
#include "Driver.h"

#include <exdisp.h>
#include <shellapi.h>
#include <shlguid.h>

namespace driver {

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

} // namespace driver
