#include "WindowsKeyFilter.h"

namespace launcher {

namespace {

constexpr unsigned kKeyLeftWin = 0x5B, kKeyRightWin = 0x5C;
// VK_SHIFT, VK_CONTROL and VK_MENU, each for its left and right key.
constexpr unsigned kKeyShift = 0x10, kKeyControl = 0x11, kKeyAlt = 0x12;

bool WindowsKeyDown(KeyboardState& keyboard) {
    return keyboard.IsDown(kKeyLeftWin) || keyboard.IsDown(kKeyRightWin);
}

bool OtherModifierDown(KeyboardState& keyboard) {
    return keyboard.IsDown(kKeyControl) || keyboard.IsDown(kKeyAlt) || keyboard.IsDown(kKeyShift);
}

}  // namespace

WindowsExplorerKeyFilter::Decision WindowsExplorerKeyFilter::OnKey(unsigned key, bool down,
                                                                   KeyboardState& keyboard) {
    Decision decision;
    if (key == kKeyLeftWin || key == kKeyRightWin) {
        if (down) {
            // A new press, not the held key's repeat: a mask still pending
            // belongs to a press whose release went to another desktop, and
            // would keep this one from opening the Start menu.
            if (!WindowsKeyDown(keyboard)) m_maskPending = false;
        } else if (m_maskPending) {
            decision.sendMaskKey = true;
            m_maskPending = false;
        }
        m_eRepeats = false;
        return decision;
    }
    if (key != 'E') {
        // Only the key pressed last repeats.
        if (down) m_eRepeats = false;
        return decision;
    }
    if (!down) {
        decision.swallow = m_swallowingE;
        m_swallowingE = m_eRepeats = false;
        return decision;
    }
    // Auto-repeat opens no second Explorer. With the Windows key up, the
    // release of both went to another desktop: this E is a new one.
    if (m_swallowingE && m_eRepeats && WindowsKeyDown(keyboard)) {
        decision.swallow = true;
        return decision;
    }
    // Decided by what the system says is held, never by what this hook saw.
    m_swallowingE = WindowsKeyDown(keyboard) && !OtherModifierDown(keyboard);
    m_eRepeats = m_swallowingE;
    if (m_swallowingE) {
        decision.swallow = decision.openExplorer = true;
        m_maskPending = true;
    }
    return decision;
}

}  // namespace launcher
