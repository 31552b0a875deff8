#pragma once
// Win+E, which Windows keeps for itself, taken by a low-level keyboard hook:
// what the hook does with each key.

namespace launcher {

// An unassigned virtual-key code: pressed and released, it means nothing to
// any program, but Windows no longer sees the Windows key alone.
inline constexpr unsigned kMaskKey = 0xE8;

// Which keys are held right now (GetAsyncKeyState on Windows). A low-level
// hook never sees the releases that happen on another desktop (Win+L,
// Ctrl+Alt+Del, a UAC prompt), so what it saw itself may be stale; the
// system's state is asked instead.
class KeyboardState {
public:
    virtual ~KeyboardState() = default;
    // Ctrl, Alt and Shift also by their generic codes (VK_CONTROL, VK_MENU,
    // VK_SHIFT), which cover the left and the right key. The key a hook is
    // called for is not counted yet, nor is a key a hook swallowed.
    virtual bool IsDown(unsigned key) = 0;
};

// What the low-level keyboard hook does with each key while "Win+E" is the
// hotkey: Win+E (no other modifier) opens our Explorer instead of Windows'
// own; the E is swallowed down and up, and before the Windows key's release
// a key that means nothing is sent, or Windows would open the Start menu for
// a Windows key pressed and released alone.
class WindowsExplorerKeyFilter {
public:
    struct Decision {
        bool swallow = false;      // the key goes no further
        bool openExplorer = false;
        bool sendMaskKey = false;  // before this key passes on
    };
    // Keys the hook sent itself (injected) must not come here.
    Decision OnKey(unsigned key, bool down, KeyboardState& keyboard);

private:
    bool m_swallowingE = false;  // the E's release is ours too
    bool m_eRepeats = false;     // a further E down is the held E's auto-repeat
    bool m_maskPending = false;  // the Windows key's release needs the mask key
};

}  // namespace launcher
