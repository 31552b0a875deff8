#pragma once
// A top-level window of a program: class registration with the program's
// icon, one window procedure for all of them, and what every window built from
// a control table shares (DPI changes, the focus kept across activations, the
// keyboard moves a dialog would make, and the end of the program when its last
// window is gone).
#include <windows.h>

#include "Controls.h"
#include "Handles.h"

namespace winkit {

// A window's icon at the two sizes the system shows.
struct IconPair {
    UniqueIcon big;
    UniqueIcon small;
};
IconPair LoadIconPair(HINSTANCE instance, int resourceId);

class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    bool IsOpen() const { return m_hwnd != nullptr; }

protected:
    struct Style {
        const wchar_t* className;
        int iconId;
        const wchar_t* caption;
        DWORD style;
        DWORD exStyle;
        // A dialog's owner: it stays below the dialog and takes no input
        // while the dialog is open.
        HWND modalOwner = nullptr;
    };

    Window() = default;
    virtual ~Window() = default;

    // Registers the class on first use and creates the window, hidden; false
    // when either is refused.
    bool CreateTopLevel(const Style& style);
    // A dialog modal to style.modalOwner, created and shown in front; false
    // when it could not be created.
    bool ShowModal(const Style& style);
    // Also what the close box and Alt+F4 do, unless OnMessage takes WM_CLOSE.
    void Destroy();

    // Focus for the next activation, and now when the window is active.
    void SetFocusTo(HWND control);

    virtual void OnCreate() {}
    virtual void OnDestroy() {}
    virtual void OnCommand(int /*id*/, int /*code*/, HWND /*control*/) {}
    virtual void OnDpiChanged(UINT /*dpi*/) {}
    // Messages the window handles beyond the common ones; true when handled.
    virtual bool OnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT& /*result*/) {
        return false;
    }
    // A handler threw: nothing may cross system code, so the window says so.
    virtual void OnFailure() = 0;

    HWND m_hwnd = nullptr;
    ControlSet m_controls;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void RestoreFocus();
    void MoveFocus(WPARAM wParam, LPARAM lParam);
    void ReleaseModalOwner();

    IconPair m_icons;  // the class keeps them for the program's lifetime
    bool m_registered = false;
    HWND m_lastFocus = nullptr;
    HWND m_modalOwner = nullptr;
};

}  // namespace winkit
