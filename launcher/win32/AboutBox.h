#pragma once
#include <windows.h>

#include "Window.h"

namespace launcher {

// The About box: made when it is first shown and then only hidden, so that it
// opens again where the user left it. Closing it in any way hides it; it
// never ends the launcher.
class AboutBox final : public winkit::Window {
public:
    static AboutBox& Instance();
    void Show();
    void Close() { Destroy(); }

private:
    AboutBox() = default;

    void OnCreate() override;
    void OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnFailure() override;
};

}  // namespace launcher
