#pragma once
// The hotkey control (comctl32's msctls_hotkey32) as the Settings dialog and
// the favourite's dialog use it.
#include <windows.h>

#include <optional>
#include <string>

#include "Hotkey.h"

namespace launcher {

// The note beside the box: a favourite's name may hold a "&", which a label
// would show as an access key.
void ShowHotkeyNote(HWND note, const std::wstring& text);

class HotkeyBox {
public:
    HotkeyBox() = default;
    HotkeyBox(const HotkeyBox&) = delete;
    HotkeyBox& operator=(const HotkeyBox&) = delete;

    // Takes over the box of a newly created window and shows the combination
    // (nothing for none). A combination without Ctrl or Alt would take a key
    // from every program: the box adds Ctrl+Alt to one.
    void Attach(HWND box, const std::optional<Hotkey>& shown);
    HWND Get() const { return m_box; }
    // What the box holds: what was typed, or one of Tolvane's own handed in.
    Hotkey Held() const;
    // Whether something else than the shown combination was typed or handed in.
    bool Changed() const;
    // Why what the box holds cannot be a hotkey (the rule, or a key without a
    // name); "" when it can.
    std::wstring Refusal() const;
    // The box does not repaint itself for WM_ENABLE (seen under Wine).
    void Enable(bool enable);

    // Windows hands Tolvane's own combinations to the launcher, never to the
    // box with the focus: the launcher hands them in here, and the box's
    // window hears of it as of a key typed (EN_CHANGE). False when no hotkey
    // box has the focus.
    static bool TypeOwnCombination(const Hotkey& combination);

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    unsigned Word() const;
    bool IsAccessKey(WPARAM key) const;
    void Notify() const;
    void ShowHandedIn();

    HWND m_box = nullptr;
    WNDPROC m_original = nullptr;
    unsigned m_shown = 0;  // the control's word as loaded
    unsigned m_kept = 0;   // the last one typed, kept through an access key
    Hotkey m_handedIn;     // Tolvane's own, until the next key that is no Ctrl, Alt or Shift
};

}  // namespace launcher
