#include "FavouriteTexts.h"

#include "Decimal.h"
#include "FavouriteCaptions.h"
#include "Join.h"
#include "LauncherTexts.h"

namespace launcher {

namespace {

std::wstring Quoted(const Favourite& favourite) { return Format(TextId::Quoted, {ShortName(favourite, kMenuNameLength)}); }

}  // namespace

std::wstring LeftOutText(std::size_t leftOut) {
    if (leftOut == 0) return std::wstring();
    return Format(ForCount(leftOut, TextId::LeftOutOne, TextId::LeftOutMany),
                  {winkit::Decimal(leftOut), winkit::Decimal(kMaxFavourites)});
}

std::wstring FavouriteFolderProblemText(const ExplorerLaunch& launch, const Favourite& favourite, bool byPolicy) {
    const std::wstring name = Quoted(favourite);
    TextId problem = TextId::FavouriteFolderMissing;
    switch (launch.problem) {
    case FolderProblem::IsFile:
        problem = TextId::FavouriteFolderIsFile;
        break;
    case FolderProblem::DevicePath:
        problem = TextId::FavouriteFolderIsDevicePath;
        break;
    case FolderProblem::Address:
        problem = TextId::FavouriteFolderIsAddress;
        break;
    case FolderProblem::NotFull:
        problem = TextId::FavouriteFolderNotFull;
        break;
    case FolderProblem::Missing:
    case FolderProblem::None:
        break;
    }
    // Two whole sentences, each from the table.
    return winkit::Join({Format(problem, {launch.folder, name}), L"\n\n",
                         byPolicy ? Text(TextId::FavouriteSetByPolicy) : Format(TextId::FavouriteMendIt, {name})});
}

std::wstring HotkeyGivenNote(const Hotkey& combination, std::size_t holder, const std::vector<Favourite>& list) {
    // The line beside the box holds about fifty characters.
    constexpr std::size_t kNoteNameLength = 20;
    if (holder == kMainFolder || holder >= list.size()) return Format(TextId::GivenToMainNote, {ShownHotkey(combination)});
    return Format(TextId::GivenToFavouriteNote, {ShownHotkey(combination), ShortName(list[holder], kNoteNameLength)});
}

std::wstring HotkeyGivenText(const Hotkey& combination, std::size_t holder, const std::vector<Favourite>& list) {
    if (holder == kMainFolder || holder >= list.size()) return Format(TextId::GivenToMain, {ShownHotkey(combination)});
    return Format(TextId::GivenToFavourite, {ShownHotkey(combination), Quoted(list[holder])});
}

std::wstring FavouriteHotkeyTakenText(const Favourite& favourite, const Hotkey& combination,
                                      const std::wstring& systemMessage) {
    return Format(TextId::FavouriteHotkeyTaken, {ShownHotkey(combination), Quoted(favourite), systemMessage});
}

std::wstring HotkeyColumnText(const FavouriteHotkey& check, bool usedByAnotherProgram) {
    if (check.unreadable) return Text(TextId::ColumnUnreadable);
    const std::wstring text = ShownHotkey(check.combination);
    if (!check.verdict.Allowed()) return Format(TextId::ColumnNotAllowed, {text});
    if (check.givenTwice) return Format(TextId::ColumnGivenTwice, {text});
    if (usedByAnotherProgram) return Format(TextId::ColumnUsedElsewhere, {text});
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
                                 : item.givenTwice       ? Text(TextId::BalloonGivenTwice)
                                                         : Text(TextId::BalloonUsedElsewhere);
        items.push_back(Format(TextId::BalloonItem, {ShortName(list[item.favourite], kBalloonNameLength),
                                                     ShownHotkey(item.combination), why}));
    }
    if (items.empty()) return std::wstring();
    return Format(TextId::HotkeysNotWorking, {ListText(items)});
}

std::wstring FavouritesSaveFailureText(const FavouritesSaveOutcome& outcome, const std::vector<Favourite>& entries,
                                       const std::wstring& systemMessage) {
    std::vector<std::wstring> names;
    if (!outcome.notSaved.empty()) {
        for (std::size_t index : outcome.notSaved)
            if (index < entries.size()) names.push_back(Quoted(entries[index]));
        return Format(ForCount(names.size(), TextId::FavouriteNotSavedOne, TextId::FavouriteNotSavedMany),
                      {ListText(names), systemMessage});
    }
    for (const std::wstring& name : outcome.notRemoved) names.push_back(Quoted(Favourite{name, name, L"", L""}));
    return Format(ForCount(names.size(), TextId::FavouriteNotRemovedOne, TextId::FavouriteNotRemovedMany),
                  {ListText(names), systemMessage});
}

}  // namespace launcher
