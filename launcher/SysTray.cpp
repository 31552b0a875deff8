#include "SysTray.h"

#include <cstring>

#include "MainForm.h"

namespace launcher {

namespace {

NOTIFYICONDATAA g_trayIconData{};
WNDPROC g_previousWindowProc = nullptr;

}  // namespace

void AddTrayIcon(Form1& form) {
    g_trayIconData = NOTIFYICONDATAA{};
    g_trayIconData.cbSize = kTrayRecordSize;
    g_trayIconData.hWnd = form.Handle();
    g_trayIconData.uID = kTrayIconId;
    g_trayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    g_trayIconData.uCallbackMessage = kTrayCallbackMessage;
    g_trayIconData.hIcon = form.SmallIcon();
    // The ANSI record keeps the first-version size; the tip is plain ASCII.
    static const char kTip[] = "Tolvane";
    std::memset(g_trayIconData.szTip, ' ', 64);
    std::memcpy(g_trayIconData.szTip, kTip, sizeof(kTip));
    Shell_NotifyIconA(NIM_ADD, &g_trayIconData);
}

void RemoveTrayIcon(Form1&) {
    if (g_trayIconData.hWnd != nullptr) Shell_NotifyIconA(NIM_DELETE, &g_trayIconData);
}

void InitTray(Form1& form) {
    AddTrayIcon(form);
    HWND handle = form.Handle();
    g_previousWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TrayWindowProc)));
}

LRESULT CALLBACK TrayWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    Form1* form = Form1::Existing();
    if (form != nullptr && hWnd == form->Handle()) form->ProcMsg(hWnd, uMsg, wParam, lParam);
    // Every message goes on, the first one included.
    return CallWindowProcW(g_previousWindowProc, hWnd, uMsg, wParam, lParam);
}

}  // namespace launcher
