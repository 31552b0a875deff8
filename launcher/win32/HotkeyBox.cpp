#include "HotkeyBox.h"

#include <commctrl.h>

#include "AccessKey.h"
#include "Controls.h"
#include "HotkeyRule.h"
#include "LauncherTexts.h"
#include "Win32KeyboardLayout.h"

namespace launcher {

void ShowHotkeyNote(HWND note, const std::wstring& text) {
    std::wstring shown;
    for (wchar_t ch : text) {
        if (ch == L'&') shown += L'&';
        shown += ch;
    }
    SetWindowTextW(note, shown.c_str());
}

void HotkeyBox::Attach(HWND box, const std::optional<Hotkey>& shown) {
    m_box = box;
    m_handedIn = Hotkey{};
    SendMessageW(box, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    if (shown) SendMessageW(box, HKM_SETHOTKEY, ToHotkeyControl(*shown), 0);
    m_shown = m_kept = Word();
    SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HotkeyBox::Procedure)));
}

unsigned HotkeyBox::Word() const { return static_cast<unsigned>(SendMessageW(m_box, HKM_GETHOTKEY, 0, 0)) & 0xFFFF; }

Hotkey HotkeyBox::Held() const { return m_handedIn.IsNone() ? FromHotkeyControl(Word()) : m_handedIn; }

bool HotkeyBox::Changed() const { return !m_handedIn.IsNone() || Word() != m_shown; }

std::wstring HotkeyBox::Refusal() const {
    const Hotkey held = Held();
    if (held.IsNone()) return std::wstring();
    const HotkeyVerdict verdict = JudgeHotkeyHere(held);
    if (!verdict.Allowed()) return HotkeyRefusalNote(held, verdict);
    // A key without a name (a punctuation key, say) cannot be stored as text.
    if (!ParseHotkey(FormatHotkey(held)) || FormatHotkey(held).empty()) return Text(TextId::UnusableKeyShort);
    return std::wstring();
}

void HotkeyBox::Enable(bool enable) {
    EnableWindow(m_box, enable ? TRUE : FALSE);
    InvalidateRect(m_box, nullptr, TRUE);
}

void HotkeyBox::Notify() const {
    SendMessageW(GetParent(m_box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(m_box), EN_CHANGE),
                 reinterpret_cast<LPARAM>(m_box));
}

bool HotkeyBox::TypeOwnCombination(const Hotkey& combination) {
    HWND focus = GetFocus();
    if (focus == nullptr ||
        GetWindowLongPtrW(focus, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&HotkeyBox::Procedure))
        return false;
    auto* box = reinterpret_cast<HotkeyBox*>(GetWindowLongPtrW(focus, GWLP_USERDATA));
    if (box == nullptr || box->m_box != focus) return false;
    box->m_handedIn = combination;
    box->ShowHandedIn();
    box->Notify();
    return true;
}

void HotkeyBox::ShowHandedIn() {
    // The control has no Windows key: such a combination is held beside it.
    const bool showable = (m_handedIn.modifiers & kModWin) == 0;
    SendMessageW(m_box, HKM_SETHOTKEY, showable ? ToHotkeyControl(m_handedIn) : 0, 0);
}

// An Alt with a letter or digit that another control of the window has as
// its access key; the rule refuses Alt alone with such a key anyway.
bool HotkeyBox::IsAccessKey(WPARAM key) const {
    const bool letterOrDigit = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
    auto held = [](int vk) { return (GetKeyState(vk) & 0x8000) != 0; };
    if (!letterOrDigit || !held(VK_MENU) || held(VK_CONTROL) || held(VK_SHIFT) || held(VK_LWIN) || held(VK_RWIN))
        return false;
    HWND window = GetAncestor(m_box, GA_ROOT);
    for (HWND control = GetWindow(window, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
        if (!IsWindowVisible(control) || !IsWindowEnabled(control)) continue;
        if (AccessKey(winkit::WindowText(control).c_str()) == static_cast<wchar_t>(key)) return true;
    }
    return false;
}

LRESULT CALLBACK HotkeyBox::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* box = reinterpret_cast<HotkeyBox*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (box == nullptr || box->m_box != hwnd) return DefWindowProcW(hwnd, message, wParam, lParam);
    return box->Handle(message, wParam, lParam);
}

LRESULT HotkeyBox::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool keyDown = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    const bool keyUp = message == WM_KEYUP || message == WM_SYSKEYUP;
    // The control would show the Windows key, and the unassigned key the
    // Win+E hook sends before the Windows key's release, as keys of their own.
    constexpr WPARAM kUnassignedKey = 0xE8;
    if ((keyDown || keyUp) && (wParam == VK_LWIN || wParam == VK_RWIN || wParam == kUnassignedKey)) return 0;
    // Ctrl, Alt and Shift pressed on their own start a new combination and
    // clear the box meanwhile; any other key ends one.
    const bool modifier = wParam == VK_CONTROL || wParam == VK_MENU || wParam == VK_SHIFT;
    // F1 alone asks for the guide (WM_HELP); the control would take it as
    // Ctrl+Alt+F1, its rule for a key pressed without modifiers.
    auto held = [](int vk) { return (GetKeyState(vk) & 0x8000) != 0; };
    if (keyDown && wParam == VK_F1 && !held(VK_CONTROL) && !held(VK_MENU) && !held(VK_SHIFT) && !held(VK_LWIN) &&
        !held(VK_RWIN))
        return DefWindowProcW(m_box, message, wParam, lParam);
    if (keyDown && !modifier) {
        m_handedIn = Hotkey{};
        // The control takes Alt and the letter as the new combination before
        // the dialog sees the access key (WM_SYSCHAR): the key goes to the
        // dialog alone, and the box shows again what it held.
        if (message == WM_SYSKEYDOWN && IsAccessKey(wParam)) {
            SendMessageW(m_box, HKM_SETHOTKEY, m_kept, 0);
            Notify();
            return 0;
        }
    }
    HWND box = m_box;
    const WNDPROC original = m_original;
    const LRESULT result = CallWindowProcW(original, box, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        m_box = nullptr;
        return result;
    }
    if ((keyDown && !modifier) || message == HKM_SETHOTKEY) m_kept = Word();
    // The combination comes as a posted WM_HOTKEY, which the queue hands out
    // before the presses of its Ctrl and Alt that the box has yet to see.
    if (modifier && (keyDown || keyUp) && !m_handedIn.IsNone()) ShowHandedIn();
    return result;
}

}  // namespace launcher
