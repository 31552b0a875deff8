#pragma once
#include <windows.h>

#include "Form.h"
#include "Handles.h"
#include "Install.h"

namespace setup {

// The installer's one window.
class Form1 {
public:
    static Form1& Instance();

    bool Load(HINSTANCE instance);
    HWND Handle() const { return m_hwnd; }

private:
    friend LRESULT CALLBACK winkit::RoutedWindowProc<Form1>(HWND, UINT, WPARAM, LPARAM);
    void AttachWindow(HWND hwnd) { m_hwnd = hwnd; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void ReportFailure();

    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    // Returns true when the installation is complete and the program may end.
    bool Install();
    void Say(const std::wstring& text, const wchar_t* title);

    HINSTANCE m_instance = nullptr;
    HWND m_hwnd = nullptr;
    HWND m_focus = nullptr;  // restored when the window is activated again
    winkit::ControlSet m_controls;
    winkit::IconPair m_icons;
    InstallPlan m_plan;  // InstallFolder and SourceFolder of the last Install
};

}  // namespace setup
