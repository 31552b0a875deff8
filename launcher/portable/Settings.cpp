#include "Settings.h"

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
    using registry::Root;
    StoredSettings settings;
    settings.mode = registry::GetString(backend, Root::LocalMachine, registry::kSettingsKey,
                                        registry::kModeValue).value_or(std::wstring());
    settings.folder = registry::GetString(backend, Root::LocalMachine, registry::kSettingsKey,
                                          registry::kFolderValue).value_or(std::wstring());
    return settings;
}

SaveOutcome SaveSettings(registry::Backend& backend, const std::wstring& mode, const std::wstring& folder) {
    using registry::Root;
    SaveOutcome outcome;
    outcome.mode = registry::SaveString(backend, Root::LocalMachine, registry::kSettingsKey,
                                        registry::kModeValue, mode);
    outcome.folder = registry::SaveString(backend, Root::LocalMachine, registry::kSettingsKey,
                                          registry::kFolderValue, folder);
    return outcome;
}

std::wstring SaveFailureText(const SaveOutcome& outcome, const std::wstring& systemMessage) {
    std::wstring text;
    if (!outcome.mode.Ok() && !outcome.folder.Ok())
        text = L"The settings were not saved.";
    else if (!outcome.mode.Ok())
        text = L"The window mode was not saved; the folder was.";
    else
        text = L"The folder was not saved; the window mode was.";
    text += L"\n\n" + systemMessage;
    if (outcome.FirstError() == winkit::kErrorAccessDenied) text += std::wstring(L"\n\n") + winkit::kAdministratorAdvice;
    text += L"\n\nYour changes are still in the Settings window.";
    return text;
}

}  // namespace launcher
