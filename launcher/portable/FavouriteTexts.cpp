#include "FavouriteTexts.h"

#include "Decimal.h"
#include "FavouriteCaptions.h"
#include "Join.h"
#include "Text.h"

namespace launcher {

namespace {

using winkit::Join;
using winkit::Listed;

std::wstring Quoted(const Favourite& favourite) { return Join({L"\"", ShortName(favourite, kMenuNameLength), L"\""}); }

}  // namespace

std::wstring LeftOutText(std::size_t leftOut) {
    if (leftOut == 0) return std::wstring();
    const std::wstring most = winkit::Decimal(kMaxFavourites);
    return Join({L"Only the first ", most, L" favourites are used; ", winkit::Decimal(leftOut),
                 leftOut == 1 ? L" more is stored" : L" more are stored", L". OK keeps the first ", most, L"."});
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
