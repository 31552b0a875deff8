#pragma once
#include <windows.h>

#include <array>
#include <cstdint>

#include "Form.h"
#include "Handles.h"
#include "Settings.h"

namespace launcher {

// The modeless Settings dialog: folder and window mode of the Explorer.
class Form2 {
public:
    static Form2& Instance();
    // Loads the dialog when it is not loaded (reading the stored values), then
    // shows it; a loaded dialog keeps what the user has typed.
    void Show();
    HWND Handle() const { return m_hwnd; }

private:
    friend LRESULT CALLBACK winkit::RoutedWindowProc<Form2>(HWND, UINT, WPARAM, LPARAM);
    void AttachWindow(HWND hwnd) { m_hwnd = hwnd; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void ReportFailure();
    bool Load();
    void SetIcons();

    void Form_Load();
    void cmdSpAb_Click(std::int16_t index);
    void Save();
    void Unload();
    void RestoreFocus();

    HWND Option(int index) const;
    int SelectedOption() const;  // -1 when none is selected
    void MoveGroupTabStop();
    void NextControl(WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
    HWND m_lastFocus = nullptr;
    winkit::ControlSet m_controls;
    winkit::IconPair m_icons;
};

}  // namespace launcher
