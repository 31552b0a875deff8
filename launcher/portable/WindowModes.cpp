#include "WindowModes.h"

namespace launcher {

std::optional<int> OptionForMode(const std::wstring& mode) {
    for (int index = 0; index < kModeOptionCount; ++index)
        if (mode == kWindowModes[static_cast<std::size_t>(index)].name) return index;
    return std::nullopt;
}

std::optional<int> ShowStateForMode(const std::wstring& mode) {
    if (const auto option = OptionForMode(mode)) return kWindowModes[static_cast<std::size_t>(*option)].showState;
    return std::nullopt;
}

int ExplorerShowState(const std::wstring& mode) { return ShowStateForMode(mode).value_or(kFallbackShowState); }

std::wstring ModeCaption(const std::wstring& mode) {
    std::wstring caption;
    if (const auto option = OptionForMode(mode))
        for (const wchar_t* ch = Text(kWindowModes[static_cast<std::size_t>(*option)].caption); *ch != L'\0'; ++ch)
            if (*ch != L'&') caption += *ch;
    return caption;
}

std::wstring ModeForOptions(const std::array<bool, kModeOptionCount>& selected) {
    std::wstring mode;
    for (std::size_t index = 0; index < selected.size(); ++index)
        if (selected[index]) mode = kWindowModes[index].name;
    return mode;
}

}  // namespace launcher
