#include "Favourites.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "Decimal.h"
#include "Join.h"
#include "RegistryLayout.h"
#include "Text.h"
#include "WindowModes.h"

namespace launcher {

namespace {

using registry::Root;
using winkit::IsBlank;
using winkit::Join;

// "7", "007": a favourite's subkey. Nine digits at most, so the number fits.
std::optional<unsigned long> EntryNumber(const std::wstring& name) {
    if (name.empty() || name.size() > 9) return std::nullopt;
    unsigned long number = 0;
    for (wchar_t ch : name) {
        if (ch < L'0' || ch > L'9') return std::nullopt;
        number = number * 10 + static_cast<unsigned long>(ch - L'0');
    }
    return number;
}

std::wstring EntryKey(const std::wstring& subKeyName) { return Join({registry::kFavouritesKey, L"\\", subKeyName}); }

// A favourite's values, in this order.
const std::vector<const wchar_t*> kEntryValues = {registry::kNameValue, registry::kFolderValue, registry::kModeValue,
                                                  registry::kHotkeyValue};

Favourite ReadEntry(registry::Backend& backend, const std::wstring& key) {
    auto texts = registry::GetStrings(backend, Root::CurrentUser, key, kEntryValues);
    for (auto& text : texts)
        if (!text) text = std::wstring();
    return {*texts[0], *texts[1], *texts[2], *texts[3]};
}

FavouriteList Limited(std::vector<Favourite> found, bool byPolicy) {
    FavouriteList list;
    list.byPolicy = byPolicy;
    for (Favourite& favourite : found) {
        if (IsBlank(favourite.folder)) continue;
        if (list.entries.size() == kMaxFavourites) {
            ++list.leftOut;
            continue;
        }
        list.entries.push_back(std::move(favourite));
    }
    return list;
}

}  // namespace

FavouriteList ReadFavourites(registry::Backend& backend) {
    for (const registry::Place& place : registry::kPolicyFavouritesPlaces) {
        const std::vector<registry::NamedText> values = registry::StringValues(backend, place.root, place.key);
        if (values.empty()) continue;
        std::vector<Favourite> found;
        for (const registry::NamedText& value : values) found.push_back({value.name, value.text, L"", L""});
        return Limited(std::move(found), true);
    }
    // In the order of their numbers (the registry lists "10" before "2"); "7"
    // and "007" in the registry's order. Only the names are read for all of
    // them: a key with thousands of entries would otherwise hold up the start.
    const std::vector<std::wstring> names = registry::SubKeyNames(backend, Root::CurrentUser, registry::kFavouritesKey);
    struct Numbered {
        unsigned long number;
        std::size_t name;  // its place in the registry's order
    };
    std::vector<Numbered> numbered;
    for (std::size_t index = 0; index < names.size(); ++index)
        if (const auto number = EntryNumber(names[index])) numbered.push_back({*number, index});
    std::sort(numbered.begin(), numbered.end(), [](const Numbered& left, const Numbered& right) {
        return left.number != right.number ? left.number < right.number : left.name < right.name;
    });
    FavouriteList list;
    std::size_t next = 0;
    while (next < numbered.size() && list.entries.size() < kMaxFavourites) {
        Favourite favourite = ReadEntry(backend, EntryKey(names[numbered[next++].name]));
        if (!IsBlank(favourite.folder)) list.entries.push_back(std::move(favourite));
    }
    // Not read: some of them may lack a folder, but all of them are stored.
    list.leftOut = numbered.size() - next;
    return list;
}

LaunchSettings FavouriteLaunchSettings(const FavouriteList& list, std::size_t index, const LaunchSettings& main) {
    const Favourite& favourite = list.entries.at(index);
    return {list.byPolicy ? main.mode : favourite.mode, favourite.folder};
}

std::wstring NewFavouriteMode(const std::wstring& mainMode) {
    if (OptionForMode(mainMode)) return mainMode;
    for (const WindowMode& mode : kWindowModes)
        if (mode.showState == kFallbackShowState) return mode.name;
    return std::wstring();
}

FavouritesSaveOutcome SaveFavourites(registry::Backend& backend, const std::vector<Favourite>& entries) {
    FavouritesSaveOutcome outcome;
    auto note = [&outcome](const registry::Status& status) {
        if (outcome.firstError.Ok()) outcome.firstError = status;
    };
    std::vector<std::wstring> old;
    std::vector<unsigned long> used;
    for (std::wstring& name : registry::SubKeyNames(backend, Root::CurrentUser, registry::kFavouritesKey)) {
        if (const auto number = EntryNumber(name)) {
            used.push_back(*number);
            old.push_back(std::move(name));
        }
    }
    std::vector<std::wstring> written;
    unsigned long number = 0;
    for (std::size_t index = 0; index < entries.size(); ++index) {
        do ++number;
        while (std::find(used.begin(), used.end(), number) != used.end());
        const std::wstring key = EntryKey(winkit::Decimal(number));
        written.push_back(key);
        const Favourite& favourite = entries[index];
        const std::wstring* texts[] = {&favourite.name, &favourite.folder, &favourite.mode, &favourite.hotkey};
        for (std::size_t field = 0; field < kEntryValues.size(); ++field) {
            const registry::Status status =
                registry::SaveString(backend, Root::CurrentUser, key, kEntryValues[field], *texts[field]);
            if (status.Ok()) continue;
            note(status);
            outcome.notSaved.push_back(index);
            break;
        }
    }
    if (!outcome.notSaved.empty()) {
        for (const std::wstring& key : written) registry::DeleteKey(backend, Root::CurrentUser, key);
        return outcome;
    }
    for (const std::wstring& name : old) {
        const registry::Status status = registry::DeleteKey(backend, Root::CurrentUser, EntryKey(name));
        if (status.Ok() || status.code == winkit::kErrorFileNotFound) continue;
        note(status);
        outcome.notRemoved.push_back(
            registry::GetString(backend, Root::CurrentUser, EntryKey(name), registry::kNameValue).value_or(name));
    }
    return outcome;
}

}  // namespace launcher
