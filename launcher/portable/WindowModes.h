#pragma once
// The four window modes the Explorer can be started in: the name stored as
// "Modus", the show state it stands for, and the caption the Settings dialog
// (and the Group Policy template) shows for it.
#include <array>
#include <optional>
#include <string>

#include "LauncherTexts.h"

namespace launcher {

struct WindowMode {
    const wchar_t* name;  // compared exactly: letter case, blanks
    int showState;        // SW_SHOWNORMAL 1, SW_SHOWMINIMIZED 2, SW_SHOWMAXIMIZED 3, SW_SHOWNOACTIVATE 4
    TextId caption;
};

inline constexpr int kModeOptionCount = 4;

// In the Settings dialog's order, captions with their access keys. The names
// are older than the captions and do not match them ("vbNormalFocus" is the
// normal window, "vbMinimizedFocus" the one in the taskbar); stored settings
// depend on this pairing.
inline constexpr std::array<WindowMode, kModeOptionCount> kWindowModes = {{
    {L"vbNormalFocus", 1, TextId::ModeNormal},
    {L"vbMaximizedFocus", 3, TextId::ModeMaximized},
    {L"vbMinimizedFocus", 2, TextId::ModeTaskbar},
    {L"vbNormalNoFocus", 4, TextId::ModeLastSize},
}};

// Show state for a window-mode name; nothing for other texts.
std::optional<int> ShowStateForMode(const std::wstring& mode);

// Unknown modes fall back to a normal, activated window rather than a hidden one.
inline constexpr int kFallbackShowState = 1;
int ExplorerShowState(const std::wstring& mode);

// The option that shows a stored mode name; nothing for any other text, the
// empty one included.
std::optional<int> OptionForMode(const std::wstring& mode);

// The option's caption without its access key, for a list to show; "" for
// any other text.
std::wstring ModeCaption(const std::wstring& mode);

// The mode name to store for the options' states: the last selected option's
// name, or the empty text when none is selected.
std::wstring ModeForOptions(const std::array<bool, kModeOptionCount>& selected);

}  // namespace launcher
