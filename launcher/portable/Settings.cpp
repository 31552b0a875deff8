#include "Settings.h"

#include <iterator>

#include "RegistryLayout.h"

namespace launcher {

std::optional<int> OptionForMode(const std::wstring& mode) {
    for (int index = 0; index < kModeOptionCount; ++index)
        if (mode == kOptionModeNames[static_cast<std::size_t>(index)]) return index;
    return std::nullopt;
}

std::wstring ModeForOptions(const std::array<bool, kModeOptionCount>& selected) {
    std::wstring mode;
    for (std::size_t index = 0; index < selected.size(); ++index)
        if (selected[index]) mode = kOptionModeNames[index];
    return mode;
}

StoredSettings ReadSettings(registry::Backend& backend) {
    using namespace registry;
    auto lookUp = [&backend](const wchar_t* name) {
        return LookUpString(backend, std::begin(kSettingsPlaces), std::end(kSettingsPlaces), name)
            .value_or(std::wstring());
    };
    return {lookUp(kModeValue),
            lookUp(kFolderValue),
            lookUp(kHotkeyValue),
            SetByPolicy(backend, kModeValue),
            SetByPolicy(backend, kFolderValue),
            SetByPolicy(backend, kHotkeyValue)};
}

bool SetByPolicy(registry::Backend& backend, const wchar_t* valueName) {
    using namespace registry;
    return LookUpString(backend, std::begin(kPolicyPlaces), std::end(kPolicyPlaces), valueName).has_value();
}

SaveOutcome SaveSettings(registry::Backend& backend, const std::wstring& mode, const std::wstring& folder,
                         const std::optional<std::wstring>& hotkey) {
    using registry::Root;
    SaveOutcome outcome;
    if (!SetByPolicy(backend, registry::kModeValue))
        outcome.mode = registry::SaveString(backend, Root::CurrentUser, registry::kSettingsKey,
                                            registry::kModeValue, mode);
    if (!SetByPolicy(backend, registry::kFolderValue))
        outcome.folder = registry::SaveString(backend, Root::CurrentUser, registry::kSettingsKey,
                                              registry::kFolderValue, folder);
    if (hotkey && !SetByPolicy(backend, registry::kHotkeyValue))
        outcome.hotkey = registry::SaveString(backend, Root::CurrentUser, registry::kSettingsKey,
                                              registry::kHotkeyValue, *hotkey);
    return outcome;
}

bool AdoptVirtualizedSettings(registry::Backend& backend) {
    using namespace registry;
    const wchar_t* const names[] = {kModeValue, kFolderValue};
    for (const wchar_t* name : names)
        if (GetString(backend, Root::CurrentUser, kSettingsKey, name)) return false;
    for (const wchar_t* key : kVirtualizedSettingsKeys) {
        bool copied = false;
        for (const wchar_t* name : names) {
            if (const auto text = GetString(backend, Root::CurrentUser, key, name))
                copied = SaveString(backend, Root::CurrentUser, kSettingsKey, name, *text).Ok() || copied;
        }
        if (copied) return true;
    }
    return false;
}

std::wstring SaveFailureText(const SaveOutcome& outcome, const std::wstring& systemMessage) {
    std::wstring text;
    if (!outcome.mode.Ok() && !outcome.folder.Ok())
        text = L"The settings were not saved.";
    else if (!outcome.mode.Ok())
        text = L"The window mode was not saved; the folder was.";
    else if (!outcome.folder.Ok())
        text = L"The folder was not saved; the window mode was.";
    else
        text = L"The hotkey was not saved; the folder and the window mode were.";
    text += L"\n\n" + systemMessage;
    text += L"\n\nYour changes are still in the Settings window.";
    return text;
}

}  // namespace launcher
