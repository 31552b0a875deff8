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
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

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
    winkit::UniqueIcon m_bigIcon;
    winkit::UniqueIcon m_smallIcon;
    InstallPlan m_plan;  // InstallFolder and SourceFolder of the last Install
};

}  // namespace setup
