#include "Window.h"

#include <utility>

namespace winkit {

namespace {

// The program ends when its last window is gone: an open Settings dialog keeps
// the launcher running after Exit has closed the main window.
int g_openWindows = 0;

}  // namespace

IconPair LoadIconPair(HINSTANCE instance, int resourceId) {
    auto load = [instance, resourceId](int size) {
        return UniqueIcon(static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(resourceId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    };
    return {load(GetSystemMetrics(SM_CXICON)), load(GetSystemMetrics(SM_CXSMICON))};
}

bool Window::CreateTopLevel(const Style& style) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!m_registered) {
        m_icons = LoadIconPair(instance, style.iconId);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &Window::Procedure;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = style.className;
        wc.hIcon = m_icons.big.Get();
        wc.hIconSm = m_icons.small.Get();
        m_registered = RegisterClassExW(&wc) != 0;
        if (!m_registered) return false;
    }
    m_lastFocus = nullptr;
    CreateWindowExW(style.exStyle, style.className, style.caption, style.style, CW_USEDEFAULT, CW_USEDEFAULT, 100,
                    100, style.modalOwner, nullptr, instance, this);
    if (m_hwnd != nullptr && style.modalOwner != nullptr) {
        m_modalOwner = style.modalOwner;
        EnableWindow(m_modalOwner, FALSE);
    }
    return m_hwnd != nullptr;
}

bool Window::ShowModal(const Style& style) {
    if (!CreateTopLevel(style)) return false;
    ShowWindow(m_hwnd, SW_SHOW);
    SetForegroundWindow(m_hwnd);
    return true;
}

void Window::Destroy() {
    // The owner takes input again before the dialog goes, or Windows would
    // give the activation to some other program's window.
    ReleaseModalOwner();
    if (m_hwnd != nullptr) DestroyWindow(m_hwnd);
}

void Window::ReleaseModalOwner() {
    if (HWND owner = std::exchange(m_modalOwner, nullptr)) EnableWindow(owner, TRUE);
}

void Window::SetFocusTo(HWND control) {
    m_lastFocus = control;
    if (GetActiveWindow() == m_hwnd) SetFocus(control);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        window = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        window->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    if (window == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    try {
        return window->Handle(message, wParam, lParam);
    } catch (...) {
        window->OnFailure();
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT Window::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnMessage(message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_CREATE:
        ++g_openWindows;
        OnCreate();
        return 0;
    case WM_COMMAND: {
        // An option button clicked with the mouse moves its group's tab stop.
        if (HIWORD(wParam) == BN_CLICKED && m_controls.IsOption(reinterpret_cast<HWND>(lParam)))
            m_controls.UpdateOptionTabStops();
        int id = LOWORD(wParam);
        HWND control = reinterpret_cast<HWND>(lParam);
        // Esc comes as IDCANCEL from IsDialogMessage: the cancel button's click.
        if (id == IDCANCEL && m_controls.CancelButton() != 0 && m_controls.CancelButton() != IDCANCEL) {
            id = m_controls.CancelButton();
            control = m_controls.Get(id);
            if (control == nullptr || !IsWindowEnabled(control)) return 0;
        }
        OnCommand(id, HIWORD(wParam), control);
        return 0;
    }
    case DM_GETDEFID: {
        // IsDialogMessage asks which button Enter presses: the focused push
        // button, as in a dialog, else the window's default button.
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(m_hwnd, focus) &&
            (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0)
            return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
        const int id = m_controls.DefaultButton();
        return id != 0 ? MAKELRESULT(id, DC_HASDEFID) : 0;
    }
    case WM_NEXTDLGCTL:
        // IsDialogMessage asks for Tab and arrow-key moves with this message,
        // which only a real dialog's procedure would answer.
        MoveFocus(wParam, lParam);
        return 0;
    case WM_ACTIVATE:
        // A plain window, unlike a dialog, forgets which control had the focus
        // when it is deactivated (a message box, another program).
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus != nullptr && IsChild(m_hwnd, focus)) m_lastFocus = focus;
        } else if (HIWORD(wParam) == 0) {
            RestoreFocus();
        }
        return 0;
    case WM_DPICHANGED: {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        m_controls.Relayout(HIWORD(wParam));
        SetWindowPos(m_hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        OnDpiChanged(HIWORD(wParam));
        return 0;
    }
    case WM_CLOSE:
        Destroy();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_NCDESTROY: {
        ReleaseModalOwner();
        HWND hwnd = std::exchange(m_hwnd, nullptr);
        m_lastFocus = nullptr;
        m_controls = ControlSet();
        if (--g_openWindows <= 0) PostQuitMessage(0);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    default:
        return DefWindowProcW(m_hwnd, message, wParam, lParam);
    }
}

void Window::RestoreFocus() {
    if (m_lastFocus != nullptr && IsWindow(m_lastFocus) && IsChild(m_hwnd, m_lastFocus)) {
        SetFocus(m_lastFocus);
        return;
    }
    // First activation: the first control in tab order that takes the focus.
    if (HWND first = GetNextDlgTabItem(m_hwnd, nullptr, FALSE)) SetFocus(first);
}

void Window::MoveFocus(WPARAM wParam, LPARAM lParam) {
    HWND focus = GetFocus();
    HWND target = lParam != 0 ? reinterpret_cast<HWND>(wParam)
                              : GetNextDlgTabItem(m_hwnd, focus, wParam != 0 ? TRUE : FALSE);
    if (target == nullptr || !IsChild(m_hwnd, target)) return;
    SetFocus(target);
    // An arrow key inside an option group selects the option it moves to.
    if (lParam != 0 && m_controls.IsOption(target)) m_controls.SelectOption(target);
}

}  // namespace winkit
