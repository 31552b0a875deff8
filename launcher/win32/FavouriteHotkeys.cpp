#include "FavouriteHotkeys.h"

#include "Commands.h"

namespace launcher {

std::vector<winkit::Win32Result> FavouriteHotkeys::Set(HWND owner, const std::vector<Hotkey>& combinations) {
    if (owner != m_owner) Clear();
    for (std::size_t index = 0; index < m_taken.size(); ++index) {
        if (index < combinations.size() && m_taken[index] == combinations[index]) continue;
        if (!m_taken[index].IsNone()) UnregisterHotKey(m_owner, FavouriteHotkeyId(index));
        m_taken[index] = Hotkey{};
    }
    m_owner = owner;
    m_taken.resize(combinations.size());
    std::vector<winkit::Win32Result> results(combinations.size());
    for (std::size_t index = 0; index < combinations.size(); ++index) {
        const Hotkey& combination = combinations[index];
        if (combination.IsNone() || m_taken[index] == combination) continue;
        const std::wstring operation = L"Could not register " + ShownHotkey(combination);
        // A key without Ctrl, Alt or Win would be taken from every program.
        if (!IsUsableHotkey(combination))
            results[index] = winkit::Win32Result::Failure(winkit::kErrorInvalidParameter, operation);
        else if (!RegisterHotKey(owner, FavouriteHotkeyId(index), combination.modifiers | MOD_NOREPEAT, combination.key))
            results[index] = winkit::LastError(operation);
        else
            m_taken[index] = combination;
    }
    return results;
}

void FavouriteHotkeys::Clear() {
    for (std::size_t index = 0; index < m_taken.size(); ++index)
        if (!m_taken[index].IsNone()) UnregisterHotKey(m_owner, FavouriteHotkeyId(index));
    m_taken.clear();
}

}  // namespace launcher
