#pragma once
// Every text a user sees in the launcher, by id: the tables of both languages
// are in LauncherTextTables.h. A text stays where it is until the program ends. Messages are whole sentences with placeholders
// {1} to {9}; where a count changes the sentence, each form has its own id.
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "Text.h"

namespace launcher {

// Not a translation: the program's name, in title bars and balloons alike.
inline constexpr wchar_t kLauncherCaption[] = L"Tolvane";

using winkit::Language;
using winkit::kLanguageCount;
using winkit::LanguageForUi;
using winkit::Widened;

// Chosen once at start, before any window opens.
void UseLanguage(Language language);
Language CurrentLanguage();

enum class TextId : unsigned short {
    UnexpectedFailure,
    // The tray menu.
    MenuAutostart,
    MenuAbout,
    MenuSettings,
    MenuExit,
    MenuExplorer,
    AlreadyRunning,
    // About.
    AboutFrame,
    AboutWrittenBy,
    AboutMaker,
    AboutContact,
    AboutWeb,
    AboutVersion,
    AboutDate,
    AboutNotOpened,
    Ok,
    Cancel,
    // Settings.
    SettingsCaption,
    ModeFrame,
    ModeLabel,
    ModeNormal,
    ModeMaximized,
    ModeTaskbar,
    ModeLastSize,
    Save,
    FolderFrame,
    PathLabel,
    Browse,
    HotkeyFrame,
    KeysLabel,
    WindowsKeyShown,
    UseWindowsKey,
    FavouritesButton,
    SettingsNotOpened,
    HotkeyByPolicy,
    ValueWindowMode,
    ValueFolder,
    ValueHotkey,
    NotSaved,
    NotSavedSomeSaved,
    // Favourite folders.
    FavouritesCaption,
    FavouritesLabel,
    Add,
    Edit,
    Remove,
    MoveUp,
    MoveDown,
    OkStoresAtOnce,
    ColumnName,
    ColumnFolder,
    ColumnWindow,
    ColumnHotkey,
    FavouritesNotOpened,
    FavouritesByPolicy,
    RemoveQuestion,
    LeftOutOne,
    LeftOutMany,
    FavouriteNotSavedOne,
    FavouriteNotSavedMany,
    FavouriteNotRemovedOne,
    FavouriteNotRemovedMany,
    // Favourite folder.
    FavouriteCaption,
    NameLabel,
    FavouriteFolderLabel,
    FavouriteModeFrame,
    FavouriteNotOpened,
    NoName,
    NoFolder,
    // Folders that cannot be opened.
    FolderMissing,
    FolderIsFile,
    FolderIsDevicePath,
    FolderIsAddress,
    FolderNotFull,
    FavouriteFolderMissing,
    FavouriteFolderIsFile,
    FavouriteFolderIsDevicePath,
    FavouriteFolderIsAddress,
    FavouriteFolderNotFull,
    FavouriteSetByPolicy,
    FavouriteMendIt,
    Quoted,
    ExplorerNotStarted,
    FolderPickerNotOpened,
    // Hotkeys.
    UnusableKey,
    UnusableKeyShort,
    HeldCombinationNote,
    UnreadableHotkeyNote,
    ChooseAnother,
    NeedsModifier,
    MenusNeedIt,
    OthersNeedIt,
    WindowsNeedsIt,
    TypesCharacter,
    ThisCombination,
    RefusalNote,
    StoredHotkeyRefused,
    HotkeyTaken,
    HotkeyTakenInSettings,
    GivenToMainNote,
    GivenToFavouriteNote,
    GivenToMain,
    GivenToFavourite,
    FavouriteHotkeyTaken,
    ColumnUnreadable,
    ColumnNotAllowed,
    ColumnGivenTwice,
    ColumnUsedElsewhere,
    BalloonGivenTwice,
    BalloonUsedElsewhere,
    BalloonItem,
    HotkeysNotWorking,
    // Autostart, start, the guide.
    AutostartNotRemoved,
    AutostartNotAdded,
    AdministratorAdvice,
    AllUsersQuestion,
    AllUsersExplanation,
    NameHeld,
    GuideFile,
    GuideMissing,
    GuideNotOpened,
    // "A, B and C", as each language writes a list.
    ListComma,
    ListAnd,
    // Keys as the keyboard and Windows' menus of the language name them;
    // the stored names stay English.
    KeyCtrl,
    KeyShift,
    KeySpace,
    KeyLeft,
    KeyUp,
    KeyRight,
    KeyDown,
    KeyInsert,
    KeyDelete,
    KeyHome,
    KeyEnd,
    KeyPageUp,
    KeyPageDown,
    // A system error without the system's text for it.
    ErrorNumber,
    Count
};
inline constexpr std::size_t kTextCount = static_cast<std::size_t>(TextId::Count);

const wchar_t* TextIn(Language language, TextId id);
inline const wchar_t* Text(TextId id) { return TextIn(CurrentLanguage(), id); }
// The caption of a control table's row (winkit::CaptionSource).
const wchar_t* CaptionText(unsigned short text);

// The text with {1} ... {9} replaced by the arguments in order.
std::wstring Format(TextId id, std::initializer_list<std::wstring_view> arguments);
// The sentence for one thing or for several, with the count as {1}.
inline TextId ForCount(std::size_t count, TextId one, TextId many) { return count == 1 ? one : many; }
// "Error 1234." in the current language, for a code the system has no text for.
std::wstring ErrorNumberText(unsigned long code);
// "A", "A and B", "A, B and C" in the current language.
std::wstring ListText(const std::vector<std::wstring>& items);

}  // namespace launcher
