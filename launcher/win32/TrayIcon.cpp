#include "TrayIcon.h"

#include <commctrl.h>

#include <utility>

#include "TrayGestures.h"
#include "SystemFunction.h"
#include "resource.h"

namespace launcher {

namespace {

// The small icon at the current DPI. LoadIconMetric (comctl32 version 6, as
// the manifest asks) scales a larger image down, but loading comctl32 for it
// alone costs a resident launcher megabytes (docs/performance.md has the
// figure): it is used when comctl32 is in the process anyway (the Settings dialog
// loads it), otherwise LoadImageW at the same metric.
HICON LoadSmallIcon() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    using LoadIconMetricFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, HICON*);
    if (const auto loadIconMetric = winkit::LoadedFunction<LoadIconMetricFn>(L"comctl32.dll", "LoadIconMetric")) {
        HICON icon = nullptr;
        if (SUCCEEDED(loadIconMetric(instance, MAKEINTRESOURCEW(IDI_TOLVANE), LIM_SMALL, &icon))) return icon;
    }
    // GetSystemMetricsForDpi exists from Windows 10 1607 on.
    using MetricsForDpiFn = int(WINAPI*)(int, UINT);
    using DpiForSystemFn = UINT(WINAPI*)();
    const auto metricsForDpi = winkit::LoadedFunction<MetricsForDpiFn>(L"user32.dll", "GetSystemMetricsForDpi");
    const auto dpiForSystem = winkit::LoadedFunction<DpiForSystemFn>(L"user32.dll", "GetDpiForSystem");
    const int size = metricsForDpi != nullptr && dpiForSystem != nullptr ? metricsForDpi(SM_CXSMICON, dpiForSystem())
                                                                        : GetSystemMetrics(SM_CXSMICON);
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_TOLVANE), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// The notifications the portable classifier names, as Windows defines them.
static_assert(kTrayLeftButtonUp == WM_LBUTTONUP && kTrayRightButtonUp == WM_RBUTTONUP, "button releases");
static_assert(kTrayContextMenu == WM_CONTEXTMENU, "context menu");
static_assert(kTraySelect == NIN_SELECT && kTrayKeySelect == NIN_KEYSELECT, "version-4 selections");
static_assert(kTrayBalloonHide == NIN_BALLOONHIDE && kTrayBalloonTimeout == NIN_BALLOONTIMEOUT &&
                  kTrayBalloonClick == NIN_BALLOONUSERCLICK,
              "balloon notifications");

}  // namespace

void TrayIcon::Add(HWND owner, UINT callbackMessage) {
    if (!m_icon) m_icon.Reset(LoadSmallIcon());
    m_data = NOTIFYICONDATAW{};
    m_data.cbSize = sizeof(m_data);
    m_data.hWnd = owner;
    m_data.uID = kTrayIconId;
    // A version-4 icon shows its tip only when asked to.
    m_data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    m_data.uCallbackMessage = callbackMessage;
    m_data.hIcon = m_icon.Get();
    lstrcpynW(m_data.szTip, kTrayTip, ARRAYSIZE(m_data.szTip));
    m_added = Shell_NotifyIconW(NIM_ADD, &m_data) != FALSE;
    // The version is not kept by the shell across a restart: set it after every add.
    m_data.uVersion = NOTIFYICON_VERSION_4;
    m_version4 = m_added && Shell_NotifyIconW(NIM_SETVERSION, &m_data) != FALSE;
}

void TrayIcon::Remove() {
    if (m_added) Shell_NotifyIconW(NIM_DELETE, &m_data);
    m_added = false;
}

void TrayIcon::Reload() {
    // The shell keeps its own copy; the old icon goes once it shows the new one.
    winkit::UniqueIcon icon(LoadSmallIcon());
    m_data.hIcon = icon.Get();
    if (m_added) {
        NOTIFYICONDATAW change = m_data;
        change.uFlags = NIF_ICON;
        Shell_NotifyIconW(NIM_MODIFY, &change);
    }
    m_icon = std::move(icon);
}

void TrayIcon::ShowBalloon(const std::wstring& title, const std::wstring& text, bool warning) {
    if (!m_added) return;
    NOTIFYICONDATAW balloon = m_data;
    balloon.uFlags = NIF_INFO;
    lstrcpynW(balloon.szInfoTitle, title.c_str(), ARRAYSIZE(balloon.szInfoTitle));
    lstrcpynW(balloon.szInfo, text.c_str(), ARRAYSIZE(balloon.szInfo));
    balloon.dwInfoFlags = warning ? NIIF_WARNING : NIIF_INFO;
    Shell_NotifyIconW(NIM_MODIFY, &balloon);
}

void TrayIcon::ReturnFocus() {
    if (m_added) Shell_NotifyIconW(NIM_SETFOCUS, &m_data);
}

}  // namespace launcher
