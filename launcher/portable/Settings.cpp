#include "Settings.h"

#include <iterator>
#include <utility>
#include <vector>

#include "Join.h"
#include "LauncherTexts.h"
#include "RegistryLayout.h"
#include "Text.h"

namespace launcher {

std::wstring LookUpSetting(registry::Backend& backend, const wchar_t* valueName) {
    using namespace registry;
    return LookUpString(backend, std::begin(kSettingsPlaces), std::end(kSettingsPlaces), valueName)
        .value_or(std::wstring());
}

StoredSettings ReadSettings(registry::Backend& backend) {
    using namespace registry;
    return {LookUpSetting(backend, kModeValue),
            LookUpSetting(backend, kFolderValue),
            LookUpSetting(backend, kHotkeyValue),
            SetByPolicy(backend, kModeValue),
            SetByPolicy(backend, kFolderValue),
            SetByPolicy(backend, kHotkeyValue)};
}

bool SetByPolicy(registry::Backend& backend, const wchar_t* valueName) {
    using namespace registry;
    return LookUpString(backend, std::begin(kPolicyPlaces), std::end(kPolicyPlaces), valueName).has_value();
}

long SaveOutcome::FirstError() const {
    for (const ValueSave* value : {&mode, &folder, &hotkey})
        if (value->Refused()) return value->status.code;
    return winkit::kErrorSuccess;
}

SaveOutcome SaveSettings(registry::Backend& backend, const std::wstring& mode, const std::wstring& folder,
                         const std::optional<std::wstring>& hotkey) {
    using registry::Root;
    auto save = [&backend](ValueSave& into, const wchar_t* name, const std::wstring& text) {
        if (SetByPolicy(backend, name)) return;
        into.asked = true;
        into.status = registry::SaveString(backend, Root::CurrentUser, registry::kSettingsKey, name, text);
    };
    SaveOutcome outcome;
    save(outcome.mode, registry::kModeValue, mode);
    save(outcome.folder, registry::kFolderValue, folder);
    if (!hotkey) return outcome;
    if (!outcome.Ok()) {
        if (!SetByPolicy(backend, registry::kHotkeyValue))
            outcome.hotkey = {true, registry::Status::Failure(outcome.FirstError(), L"Not writing the hotkey")};
        return outcome;
    }
    save(outcome.hotkey, registry::kHotkeyValue, *hotkey);
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
    std::vector<std::wstring> refused;
    std::vector<std::wstring> saved;
    const std::pair<const ValueSave*, TextId> values[] = {{&outcome.mode, TextId::ValueWindowMode},
                                                          {&outcome.folder, TextId::ValueFolder},
                                                          {&outcome.hotkey, TextId::ValueHotkey}};
    for (const auto& [value, name] : values) {
        if (value->Refused()) refused.push_back(Text(name));
        if (value->Saved()) saved.push_back(Text(name));
    }
    if (saved.empty()) return Format(TextId::NotSaved, {ListText(refused), systemMessage});
    return Format(TextId::NotSavedSomeSaved, {ListText(refused), ListText(saved), systemMessage});
}

}  // namespace launcher
