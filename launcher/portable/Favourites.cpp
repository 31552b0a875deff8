#include "Favourites.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
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
using winkit::Listed;

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

bool IsDirectionalFormatting(wchar_t ch) {
    return ch == 0x061C || ch == 0x200E || ch == 0x200F || (ch >= 0x202A && ch <= 0x202E) ||
           (ch >= 0x2066 && ch <= 0x2069);
}

std::wstring Quoted(const Favourite& favourite) { return Join({L"\"", ShortName(favourite, kMenuNameLength), L"\""}); }

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

std::wstring DisplayedText(const std::wstring& text) {
    std::wstring shown;
    shown.reserve(text.size());
    for (wchar_t ch : text) {
        // An override (U+202E) would show the text reversed, so that one name
        // could pass for another; the marks and isolates go with it.
        if (IsDirectionalFormatting(ch)) continue;
        // A tab would start the menu's column of shortcut keys; line breaks show as boxes.
        shown += ch < L' ' || ch == 0x7F ? L' ' : ch;
    }
    return shown;
}

std::wstring ShortName(const Favourite& favourite, std::size_t length) {
    std::wstring text = DisplayedText(favourite.name);
    if (IsBlank(text)) text = DisplayedText(favourite.folder);
    if (text.size() <= length || length == 0) return text;
    std::size_t cut = length - 1;
    // Half a surrogate pair would show as a box.
    if (cut > 0 && text[cut - 1] >= 0xD800 && text[cut - 1] < 0xDC00) --cut;
    return text.substr(0, cut) + L"\u2026";
}

std::wstring FavouriteMenuCaption(std::size_t index, const Favourite& favourite, const std::wstring& indent,
                                  const Hotkey& keys) {
    std::wstring caption;
    if (index < 9)
        caption = std::wstring(L"&") + static_cast<wchar_t>(L'1' + index) + L" ";
    else if (index == 9)
        caption = L"&0 ";
    else
        caption = indent;
    for (wchar_t ch : ShortName(favourite, kMenuNameLength)) {
        if (ch == L'&') caption += L'&';
        caption += ch;
    }
    return MenuCaptionWithKeys(caption, keys);
}

std::wstring MenuCaptionWithKeys(const std::wstring& caption, const Hotkey& keys) {
    std::wstring text = caption.substr(0, caption.find(L'\t'));
    if (!keys.IsNone()) text += L"\t" + FormatHotkey(keys);
    return text;
}

std::wstring BlanksOfWidth(int width, const std::vector<Blank>& blanks) {
    int widest = 0;
    for (const Blank& blank : blanks) widest = std::max(widest, blank.width);
    if (width <= 0 || widest <= 0) return std::wstring();
    // fewest[w]: the fewest blanks that make w pixels; which: the last of them.
    const std::size_t limit = static_cast<std::size_t>(width) + static_cast<std::size_t>(widest);
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<std::size_t> fewest(limit + 1, kNone);
    std::vector<std::size_t> which(limit + 1, 0);
    fewest[0] = 0;
    for (std::size_t w = 1; w <= limit; ++w) {
        for (std::size_t b = 0; b < blanks.size(); ++b) {
            const std::size_t bw = blanks[b].width > 0 ? static_cast<std::size_t>(blanks[b].width) : 0;
            if (bw == 0 || bw > w || fewest[w - bw] == kNone) continue;
            if (fewest[w - bw] + 1 < fewest[w]) {
                fewest[w] = fewest[w - bw] + 1;
                which[w] = b;
            }
        }
    }
    std::size_t best = 0;
    auto distance = [width](std::size_t w) { return std::abs(static_cast<int>(w) - width); };
    for (std::size_t w = 1; w <= limit; ++w) {
        if (fewest[w] == kNone) continue;
        if (distance(w) < distance(best) || (distance(w) == distance(best) && fewest[w] < fewest[best])) best = w;
    }
    std::vector<std::size_t> count(blanks.size(), 0);
    for (std::size_t w = best; w > 0; w -= static_cast<std::size_t>(blanks[which[w]].width)) ++count[which[w]];
    // The widest first (a sort would cost the launcher more than this loop).
    std::wstring text;
    for (int each = widest; each > 0; --each)
        for (std::size_t b = 0; b < blanks.size(); ++b)
            if (blanks[b].width == each) text.append(count[b], blanks[b].character);
    return text;
}

std::wstring LeftOutText(std::size_t leftOut) {
    if (leftOut == 0) return std::wstring();
    const std::wstring most = winkit::Decimal(kMaxFavourites);
    return Join({L"Only the first ", most, L" favourites are used; ", winkit::Decimal(leftOut),
                 leftOut == 1 ? L" more is stored" : L" more are stored", L". OK keeps the first ", most, L"."});
}

std::wstring NewFavouriteMode(const std::wstring& mainMode) {
    if (OptionForMode(mainMode)) return mainMode;
    for (const WindowMode& mode : kWindowModes)
        if (mode.showState == kFallbackShowState) return mode.name;
    return std::wstring();
}

std::wstring FavouriteFolderProblemText(const ExplorerLaunch& launch, const Favourite& favourite, bool byPolicy) {
    const std::wstring name = Quoted(favourite);
    const wchar_t* what = nullptr;
    switch (launch.problem) {
    case FolderProblem::IsFile:
        what = L"is a file, not a folder.";
        break;
    case FolderProblem::DevicePath:
        what = L"is a device path (\\\\?\\ or \\\\.\\), which Tolvane does not open.";
        break;
    case FolderProblem::Address:
        what = L"is an address, not a folder, which Tolvane does not open.";
        break;
    case FolderProblem::NotFull:
        what = L"is not the full path of a folder.";
        break;
    case FolderProblem::Missing:
    case FolderProblem::None:
        break;
    }
    const std::wstring problem =
        what == nullptr ? Join({L"The folder ", launch.folder, L" of the favourite ", name, L" does not exist."})
                        : Join({launch.folder, L", the folder of the favourite ", name, L", ", what});
    if (byPolicy) return Join({problem, L"\n\nYour administrator has set this favourite: ask them to mend it."});
    return Join({problem, L"\n\nChoose another folder in Settings: Favourites..., select ", name, L", Edit..."});
}

std::optional<std::size_t> HotkeyHolder(const Hotkey& combination, const Hotkey& mainHotkey,
                                        const std::vector<Favourite>& list, std::size_t except) {
    if (combination.IsNone()) return std::nullopt;
    if (combination == mainHotkey) return kMainFolder;
    for (std::size_t index = 0; index < list.size(); ++index) {
        if (index == except) continue;
        const auto other = ParseHotkey(list[index].hotkey);
        if (other && *other == combination) return index;
    }
    return std::nullopt;
}

std::vector<FavouriteHotkey> CheckFavouriteHotkeys(const std::vector<Favourite>& list, const Hotkey& mainHotkey,
                                                   const KeyboardLayout& layout) {
    std::vector<FavouriteHotkey> checks;
    for (const Favourite& favourite : list) {
        FavouriteHotkey check;
        const auto parsed = ParseHotkey(favourite.hotkey);
        check.unreadable = !parsed;
        if (parsed && !parsed->IsNone()) {
            check.combination = *parsed;
            check.verdict = JudgeHotkey(*parsed, layout);
            if (*parsed == mainHotkey) check.givenTwice = kMainFolder;
            for (std::size_t earlier = 0; earlier < checks.size() && !check.givenTwice; ++earlier)
                if (checks[earlier].ToTake() == *parsed) check.givenTwice = earlier;
        }
        checks.push_back(check);
    }
    return checks;
}

std::wstring HotkeyGivenNote(const Hotkey& combination, std::size_t holder, const std::vector<Favourite>& list) {
    // The line beside the box holds about fifty characters.
    constexpr std::size_t kNoteNameLength = 20;
    if (holder == kMainFolder || holder >= list.size())
        return FormatHotkey(combination) + L" is already the hotkey of the main folder.";
    return Join({FormatHotkey(combination), L" is already the hotkey of \"", ShortName(list[holder], kNoteNameLength),
                 L"\"."});
}

std::wstring HotkeyGivenText(const Hotkey& combination, std::size_t holder, const std::vector<Favourite>& list) {
    const bool main = holder == kMainFolder || holder >= list.size();
    return Join({FormatHotkey(combination), L" is already the hotkey of ", main ? L"the main folder" : Quoted(list[holder]),
                 L". Please choose another combination."});
}

std::wstring FavouriteHotkeyTakenText(const Favourite& favourite, const Hotkey& combination,
                                      const std::wstring& systemMessage) {
    return Join({FormatHotkey(combination), L", the hotkey of ", Quoted(favourite),
                 L", is used by another program. Please choose another combination.\n\n", systemMessage});
}

std::wstring HotkeyColumnText(const FavouriteHotkey& check, bool usedByAnotherProgram) {
    if (check.unreadable) return L"(cannot be read)";
    const std::wstring text = FormatHotkey(check.combination);
    if (!check.verdict.Allowed()) return text + L" (not allowed)";
    if (check.givenTwice) return text + L" (given twice)";
    if (usedByAnotherProgram) return text + L" (used by another program)";
    return text;
}

std::wstring FavouriteHotkeysNotTakenText(const std::vector<Favourite>& list,
                                          const std::vector<HotkeyNotTaken>& notTaken) {
    // A balloon holds 255 characters: the names are kept short.
    constexpr std::size_t kBalloonNameLength = 24;
    std::vector<std::wstring> items;
    for (const HotkeyNotTaken& item : notTaken) {
        if (item.favourite >= list.size()) continue;
        const std::wstring why = !item.verdict.Allowed() ? HotkeyRefusalReason(item.combination, item.verdict)
                                 : item.givenTwice          ? L"given twice"
                                                            : L"used by another program";
        items.push_back(Join({L"\"", ShortName(list[item.favourite], kBalloonNameLength), L"\" (",
                              FormatHotkey(item.combination), L", ", why, L")"}));
    }
    if (items.empty()) return std::wstring();
    return Join({L"Favourite hotkeys that do not work: ", Listed(items), L". Choose others in Settings, Favourites."});
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

std::wstring FavouritesSaveFailureText(const FavouritesSaveOutcome& outcome, const std::vector<Favourite>& entries,
                                       const std::wstring& systemMessage) {
    std::vector<std::wstring> names;
    if (!outcome.notSaved.empty()) {
        for (std::size_t index : outcome.notSaved)
            if (index < entries.size()) names.push_back(Quoted(entries[index]));
        return Join({names.size() == 1 ? L"The favourite " : L"The favourites ", Listed(names),
                     L" could not be stored, so the list was not saved.\n\n", systemMessage,
                     L"\n\nYour changes are still in the Favourite folders window."});
    }
    for (const std::wstring& name : outcome.notRemoved) names.push_back(Quoted(Favourite{name, name, L"", L""}));
    return Join({L"The list was saved, but the removed ", names.size() == 1 ? L"favourite " : L"favourites ",
                 Listed(names), names.size() == 1 ? L" is" : L" are", L" still stored.\n\n", systemMessage});
}

}  // namespace launcher
