#pragma once
// Every text a user sees in Setup, by id: its window, its questions and
// messages and the /? list; the tables of both languages are in
// SetupTextTables.h. The log stays English, as administrators search logs by
// their words: a text written to both the log and a message is made twice,
// once in each. Messages are whole sentences with placeholders {1} to {9}.
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "Text.h"

namespace setup {

using winkit::Language;
using winkit::kLanguageCount;

// Chosen once at start, before any window opens.
void UseLanguage(Language language);
Language CurrentLanguage();

enum class TextId : unsigned short {
    // The window.
    Title,
    Welcome,
    InstallFrame,
    Autostart,
    FolderLabel,
    InstallButton,
    UninstallFrame,
    UninstallLabel,
    UninstallButton,
    ExitButton,
    OutOfMemory,
    // Messages' titles.
    FinishedTitle,
    UninstalledTitle,
    NotFinishedTitle,
    UninstallNotFinishedTitle,
    NotStartedTitle,
    // After Install and Uninstall.
    Finished,
    FinishedNoDesktop,
    Moved,
    MoveQuestion,
    NotStarted,
    Uninstalled,
    LauncherStillRunning,
    LauncherEnded,
    LogIncomplete,
    // The command line.
    SwitchesNotUnderstood,
    SwitchesHelp,
    RefusedArgument,
    NotASwitch,
    UnknownSwitch,
    NoValue,
    GivenTwice,
    NeedsValue,
    NotWithDirOrAutostart,
    NotWithUninstall,
    // A folder refused before anything is done.
    FolderEmpty,
    FolderNetworkPath,
    FolderNotFull,
    FolderStream,
    FolderForbiddenCharacter,
    FolderNameEnd,
    DriveRemote,
    DriveRemovable,
    DriveCdRom,
    DriveNotFixed,
    FixedDriveOnly,
    DriveRoot,
    FolderTooLong,
    MsiInstalled,
    // A failed installation: what failed, then what to do.
    NothingChanged,
    AllUndone,
    NotAllUndone,
    // A step of the undo, as the list of what is left to do by hand names it.
    UndoRemoveFolder,
    UndoRemoveFile,
    UndoPutBackFile,
    UndoRemoveKey,
    UndoRemoveValue,
    UndoPutBackValue,
    VolumeUnknown,
    NoPermissions,
    FolderAboveIsLink,
    FolderAboveUnsafe,
    FolderAboveUnreadable,
    CreateFolderFailed,
    OpenFolderFailed,
    FolderIsLink,
    FolderIsFile,
    FolderElsewhere,
    FolderUnsafe,
    FolderUnreadable,
    SourceMissing,
    SourceChanged,
    FileInUse,
    CopyFailed,
    RegistryRefused,
    AdministratorAdvice,
    RetryAdvice,
    NtfsAdvice,
    SafeFolderAdvice,
    FolderElsewhereAdvice,
    NewFolderAdvice,
    SourceMissingAdvice,
    SourceChangedAdvice,
    FileInUseAdvice,
    AdministratorInstallAdvice,
    UninstallRefused,
    UninstallRefusedDenied,
    // The log of /LOG=, refused or not written.
    LogNotFullPath,
    LogDevice,
    LogNotOnDisk,
    LogLink,
    LogHardLink,
    LogElsewhere,
    LogRefused,
    LogNotOpened,
    LogOpenOperation,
    LogWriteOperation,
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
std::wstring FormatIn(Language language, TextId id, std::initializer_list<std::wstring_view> arguments);
inline std::wstring Format(TextId id, std::initializer_list<std::wstring_view> arguments) {
    return FormatIn(CurrentLanguage(), id, arguments);
}

// "Error 1234." in the current language, for a code the system has no text for.
std::wstring ErrorNumberText(unsigned long code);

}  // namespace setup
