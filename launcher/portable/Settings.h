#pragma once
// What the Settings dialog reads and writes, apart from the window it does it in.
#include <optional>
#include <string>

#include "Registry.h"

namespace launcher {

// The values the dialog shows when it loads, each looked up on its own
// (registry::kSettingsPlaces: policies first, then the user's, then the
// machine's); missing reads as "". A value a policy sets cannot be changed in
// the dialog.
struct StoredSettings {
    std::wstring mode;
    std::wstring folder;
    std::wstring hotkey;  // as stored; ParseHotkey reads it
    bool modeByPolicy = false;
    bool folderByPolicy = false;
    bool hotkeyByPolicy = false;
};
StoredSettings ReadSettings(registry::Backend& backend);
// One value from the first of registry::kSettingsPlaces that holds it as a
// text; "" when none does.
std::wstring LookUpSetting(registry::Backend& backend, const wchar_t* valueName);
// Whether a policy (the computer's or the user's) sets the value.
bool SetByPolicy(registry::Backend& backend, const wchar_t* valueName);

// Writes "Modus", then "Pfad", exactly as given, to the user's key, then
// "Hotkey" when given and both others were stored: after a refused Save the
// combination that was active before stays both the running and the stored
// one. A value a policy sets is not written (it would never count).
struct ValueSave {
    bool asked = false;  // false: a policy sets it, or no hotkey was given
    registry::Status status;
    bool Saved() const { return asked && status.Ok(); }
    bool Refused() const { return asked && !status.Ok(); }
};
struct SaveOutcome {
    ValueSave mode;
    ValueSave folder;
    ValueSave hotkey;
    bool Ok() const { return !mode.Refused() && !folder.Refused() && !hotkey.Refused(); }
    // The first refusal's error code (kErrorSuccess when all were written).
    long FirstError() const;
};
SaveOutcome SaveSettings(registry::Backend& backend, const std::wstring& mode, const std::wstring& folder,
                         const std::optional<std::wstring>& hotkey = std::nullopt);

// Settings the classic program saved sit in the virtualized copy; when the
// user's key holds neither value, what the first copy that holds any holds is
// copied there (the copy stays). True when something was copied.
bool AdoptVirtualizedSettings(registry::Backend& backend);

// The message for a refused save: what was not saved, the system's reason,
// and what to do about it.
std::wstring SaveFailureText(const SaveOutcome& outcome, const std::wstring& systemMessage);

}  // namespace launcher
