#pragma once
#include <windows.h>

namespace launcher {

// The modeless Settings dialog: folder and window mode of the Explorer.
class Form2 {
public:
    static Form2& Instance();
    // Loads the dialog when it is not loaded (reading the stored values), then shows it.
    void Show();
    HWND Handle() const { return m_hwnd; }

private:
    HWND m_hwnd = nullptr;
};

}  // namespace launcher
