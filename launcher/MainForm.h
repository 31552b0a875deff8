#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "Actions.h"
#include "Form.h"
#include "Handles.h"

namespace launcher {

// The main window: owner of the tray icon, the popup menu and the timer, and
// the About box when it is shown.
class Form1 {
public:
    static Form1& Instance();
    static Form1* Existing();  // null once unloaded

    bool Load();
    HWND Handle() const { return m_hwnd; }
    HICON SmallIcon() const { return m_icons.small.Get(); }
    HICON BigIcon() const { return m_icons.big.Get(); }

    void ProcMsg(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

private:
    friend LRESULT CALLBACK winkit::RoutedWindowProc<Form1>(HWND, UINT, WPARAM, LPARAM);
    void AttachWindow(HWND hwnd) { m_hwnd = hwnd; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void ReportFailure();

    void Form_Load();
    void Form_Unload();
    void mnusystemtrayunter_Click(std::int16_t index);
    void Timer1_Timer();
    void RunPendingAction();
    void cmdOK_Click();

    void EnableTimer();
    void ShowTrayMenu(HWND hWnd);
    void SetAutostartMark(bool checked);
    void SwitchAutostart();
    void StartExplorer();
    void ShowAbout();

    HWND m_hwnd = nullptr;
    winkit::ControlSet m_controls;
    winkit::IconPair m_icons;
    winkit::UniqueMenu m_menu;
    PendingActions m_actions;
    std::wstring m_exePath;
    bool m_autostartChecked = false;
    UINT m_taskbarCreated = 0;
    bool m_unloaded = false;
};

}  // namespace launcher
