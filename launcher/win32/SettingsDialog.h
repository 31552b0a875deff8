#pragma once
#include <windows.h>

#include <optional>

#include "HelpKey.h"
#include "Hotkey.h"
#include "HotkeyBox.h"
#include "Settings.h"
#include "Window.h"

namespace launcher {

// The modeless Settings dialog: the window mode, the folder and the hotkey,
// and the way to the favourites.
class SettingsDialog final : public winkit::Window {
public:
    static SettingsDialog& Instance();
    // Opens the dialog when it is not open (reading the stored values), then
    // shows it; an open dialog keeps what the user has typed.
    void Show();

private:
    SettingsDialog() = default;

    void OnCreate() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnFailure() override;
    bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override { return AnswerHelp(m_hwnd, message, result); }

    void LoadValues();
    void LoadHotkey(const StoredSettings& stored);
    void ShowWindowsKeyUse(bool used);
    // Beside the box: why its combination is not taken, if it is not.
    void UpdateHotkeyNote();
    // The combination chosen, or nothing for one that is refused.
    std::optional<Hotkey> ChosenHotkey() const;
    void OnSave();
    void OnCancel();
    HWND Option(int index) const;

    HotkeyBox m_box;
    bool m_hotkeyByPolicy = false;
};

}  // namespace launcher
