#pragma once
// The launcher's texts in English and German, included by LauncherTexts.cpp
// alone (the linker merges no literals across object files). Each row names
// its id, and a compile-time check keeps the rows in the enum's order; German follows the
// terms of Windows' German interface (Explorer, Autostart, Einstellungen,
// Favoriten, Tastenkombination).
#include <iterator>

#include "../../version/Version.h"
#include "LauncherTexts.h"

namespace launcher {

// UTF-8, turned into UTF-16 when first shown: half the bytes of wide
// literals, which the 256 KiB of the i686 program could not hold in both
// languages.
struct TextRow {
    TextId id;
    const char* text;
};

inline constexpr TextRow kEnglishTexts[] = {
    {TextId::UnexpectedFailure, u8"Tolvane could not complete the action: it ran out of memory or met an unexpected error."},
    {TextId::MenuAutostart, u8"Start &automatically"},
    {TextId::MenuAbout, u8"A&bout Tolvane"},
    {TextId::MenuSettings, u8"&Settings"},
    {TextId::MenuExit, u8"E&xit Tolvane"},
    {TextId::MenuExplorer, u8"Open &Explorer"},
    {TextId::AlreadyRunning, u8"Tolvane is already running: click here to open your folder"},
    {TextId::AboutFrame, u8"About Tolvane"},
    {TextId::AboutWrittenBy, u8"Written by:"},
    {TextId::AboutMaker, u8"Varnholt"},
    {TextId::AboutContact, u8"hi@example.com (Subject: Tolvane)"},
    {TextId::AboutWeb, u8"www.example.com/tolvane"},
    {TextId::AboutVersion, TOLVANE_ABOUT_VERSION},
    {TextId::AboutDate, TOLVANE_ABOUT_DATE},
    {TextId::AboutNotOpened, u8"Tolvane could not open its About box."},
    {TextId::Ok, u8"&OK"},
    {TextId::Cancel, u8"&Cancel"},
    {TextId::SettingsCaption, u8"Settings"},
    {TextId::ModeFrame, u8"Explorer-mode"},
    {TextId::ModeLabel, u8"Please choose the window-mode of the Explorer:"},
    {TextId::ModeNormal, u8"in the foreground, &normal size"},
    {TextId::ModeMaximized, u8"in the foreground, ma&ximized"},
    {TextId::ModeTaskbar, u8"in the &taskbar"},
    {TextId::ModeLastSize, u8"&last size, position"},
    {TextId::Save, u8"&Save"},
    {TextId::FolderFrame, u8"Folder which is opened"},
    {TextId::PathLabel, u8"&Path:"},
    {TextId::Browse, u8"&Browse..."},
    {TextId::HotkeyFrame, u8"Hotkey"},
    {TextId::KeysLabel, u8"&Keys:"},
    {TextId::WindowsKeyShown, u8"Win+E is used"},
    {TextId::UseWindowsKey, u8"Use &Win+E"},
    {TextId::FavouritesButton, u8"&Favourites..."},
    {TextId::SettingsNotOpened, u8"Tolvane could not open its Settings window."},
    {TextId::HotkeyByPolicy, u8"Your administrator has set the hotkey."},
    {TextId::ValueWindowMode, u8"the window mode"},
    {TextId::ValueFolder, u8"the folder"},
    {TextId::ValueHotkey, u8"the hotkey"},
    {TextId::NotSaved, u8"Not saved: {1}.\n\n{2}\n\nYour changes are still in the Settings window."},
    {TextId::NotSavedSomeSaved, u8"Not saved: {1}. Saved: {2}.\n\n{3}\n\nYour changes are still in the Settings window."},
    {TextId::FavouritesCaption, u8"Favourite folders"},
    {TextId::FavouritesLabel, u8"&Favourite folders:"},
    {TextId::Add, u8"&Add..."},
    {TextId::Edit, u8"&Edit..."},
    {TextId::Remove, u8"&Remove"},
    {TextId::MoveUp, u8"Move &up"},
    {TextId::MoveDown, u8"Move &down"},
    {TextId::OkStoresAtOnce, u8"OK stores the list at once: Cancel in Settings does not undo it."},
    {TextId::ColumnName, u8"Name"},
    {TextId::ColumnFolder, u8"Folder"},
    {TextId::ColumnWindow, u8"Window"},
    {TextId::ColumnHotkey, u8"Hotkey"},
    {TextId::FavouritesNotOpened, u8"Tolvane could not open its Favourite folders window."},
    {TextId::FavouritesByPolicy, u8"Your administrator has set these favourites."},
    {TextId::RemoveQuestion, u8"Remove the favourite {1} from the list?"},
    {TextId::LeftOutOne, u8"Only the first {2} favourites are used; {1} more is stored. OK keeps the first {2}."},
    {TextId::LeftOutMany, u8"Only the first {2} favourites are used; {1} more are stored. OK keeps the first {2}."},
    {TextId::FavouriteNotSavedOne, u8"The favourite {1} could not be stored, so the list was not saved.\n\n{2}\n\n"
                                   u8"Your changes are still in the Favourite folders window."},
    {TextId::FavouriteNotSavedMany, u8"The favourites {1} could not be stored, so the list was not saved.\n\n{2}\n\n"
                                    u8"Your changes are still in the Favourite folders window."},
    {TextId::FavouriteNotRemovedOne, u8"The list was saved, but the removed favourite {1} is still stored.\n\n{2}"},
    {TextId::FavouriteNotRemovedMany, u8"The list was saved, but the removed favourites {1} are still stored.\n\n{2}"},
    {TextId::FavouriteCaption, u8"Favourite folder"},
    {TextId::NameLabel, u8"Na&me:"},
    {TextId::FavouriteFolderLabel, u8"&Folder:"},
    {TextId::FavouriteModeFrame, u8"Explorer window"},
    {TextId::FavouriteNotOpened, u8"Tolvane could not open the favourite's window."},
    {TextId::NoName, u8"Please give the favourite a name."},
    {TextId::NoFolder, u8"Please choose its folder."},
    {TextId::FolderMissing, u8"The folder {1} does not exist.\n\nChoose another one in Settings."},
    {TextId::FolderIsFile, u8"{1} is a file, not a folder.\n\nChoose a folder in Settings."},
    {TextId::FolderIsDevicePath, u8"{1} is a device path (\\\\?\\ or \\\\.\\), which Tolvane does not open.\n\n"
                                 u8"Write the folder as C:\\Folder or \\\\server\\share in Settings."},
    {TextId::FolderIsAddress, u8"{1} is an address, not a folder, which Tolvane does not open.\n\nChoose a folder in Settings."},
    {TextId::FolderNotFull, u8"{1} is not the full path of a folder.\n\n"
                            u8"Write the folder as C:\\Folder or \\\\server\\share in Settings."},
    {TextId::FavouriteFolderMissing, u8"The folder {1} of the favourite {2} does not exist."},
    {TextId::FavouriteFolderIsFile, u8"{1}, the folder of the favourite {2}, is a file, not a folder."},
    {TextId::FavouriteFolderIsDevicePath,
     u8"{1}, the folder of the favourite {2}, is a device path (\\\\?\\ or \\\\.\\), which Tolvane does not open."},
    {TextId::FavouriteFolderIsAddress,
     u8"{1}, the folder of the favourite {2}, is an address, not a folder, which Tolvane does not open."},
    {TextId::FavouriteFolderNotFull, u8"{1}, the folder of the favourite {2}, is not the full path of a folder."},
    {TextId::FavouriteSetByPolicy, u8"Your administrator has set this favourite: ask them to mend it."},
    {TextId::FavouriteMendIt, u8"Choose another folder in Settings: Favourites..., select {1}, Edit..."},
    {TextId::Quoted, u8"\"{1}\""},
    {TextId::ExplorerNotStarted, u8"Could not start \"{1}\":\n{2}"},
    {TextId::FolderPickerNotOpened, u8"Tolvane could not open the folder picker:\n{1}"},
    {TextId::UnusableKey, u8"This key cannot be used for a hotkey: please choose a letter, a digit, F1 to F24, Space, "
                          u8"an arrow or a navigation key, together with Ctrl, Alt or both."},
    {TextId::UnusableKeyShort, u8"This key cannot be used for a hotkey."},
    {TextId::HeldCombinationNote, u8"A combination another program holds cannot be typed here."},
    {TextId::UnreadableHotkeyNote, u8"The stored hotkey cannot be read: none is set."},
    {TextId::ChooseAnother, u8"{1} Please choose another combination."},
    {TextId::NeedsModifier, u8"a hotkey needs Ctrl, Alt or Win"},
    {TextId::MenusNeedIt, u8"menus need it"},
    {TextId::OthersNeedIt, u8"other programs need it"},
    {TextId::WindowsNeedsIt, u8"Windows needs it"},
    {TextId::TypesCharacter, u8"it types \u201C{1}\u201D"},
    {TextId::ThisCombination, u8"This combination"},
    {TextId::RefusalNote, u8"{1} is not taken: {2}."},
    {TextId::StoredHotkeyRefused, u8"The hotkey {1} is not used: {2}. Choose another in Settings."},
    {TextId::HotkeyTaken, u8"{1} is used by another program; choose another in Settings."},
    {TextId::HotkeyTakenInSettings, u8"{1} is used by another program. Please choose another combination.\n\n{2}"},
    {TextId::GivenToMainNote, u8"{1} is already the hotkey of the main folder."},
    {TextId::GivenToFavouriteNote, u8"{1} is already the hotkey of \"{2}\"."},
    {TextId::GivenToMain, u8"{1} is already the hotkey of the main folder. Please choose another combination."},
    {TextId::GivenToFavourite, u8"{1} is already the hotkey of {2}. Please choose another combination."},
    {TextId::FavouriteHotkeyTaken,
     u8"{1}, the hotkey of {2}, is used by another program. Please choose another combination.\n\n{3}"},
    {TextId::ColumnUnreadable, u8"(cannot be read)"},
    {TextId::ColumnNotAllowed, u8"{1} (not allowed)"},
    {TextId::ColumnGivenTwice, u8"{1} (given twice)"},
    {TextId::ColumnUsedElsewhere, u8"{1} (used by another program)"},
    {TextId::BalloonGivenTwice, u8"given twice"},
    {TextId::BalloonUsedElsewhere, u8"used by another program"},
    {TextId::BalloonItem, u8"\"{1}\" ({2}, {3})"},
    {TextId::HotkeysNotWorking, u8"Favourite hotkeys that do not work: {1}. Choose others in Settings, Favourites."},
    {TextId::AutostartNotRemoved, u8"Tolvane could not remove its autostart entry.\n\n{1}"},
    {TextId::AutostartNotAdded, u8"Tolvane could not add its autostart entry.\n\n{1}"},
    {TextId::AdministratorAdvice,
     u8"Values for all users of this computer (under HKEY_LOCAL_MACHINE) can only be changed with administrator rights."},
    {TextId::AllUsersQuestion, u8"Stop starting Tolvane automatically for all users of this computer?"},
    {TextId::AllUsersExplanation,
     u8"Tolvane is set to start at every user's logon on this computer. Only an administrator can change that."},
    {TextId::NameHeld, u8"Tolvane cannot start: another program, not Tolvane, holds the name Tolvane uses to run once "
                       u8"per user ({1}).\n\nEnd that program, or sign out and in again, then start Tolvane once more."},
    {TextId::GuideFile, u8"Readme.txt"},
    {TextId::GuideMissing, u8"Tolvane's guide is missing: {1}\n\nSetup puts Readme.txt beside Tolvane.exe; installing "
                           u8"Tolvane again brings it back."},
    {TextId::GuideNotOpened, u8"Tolvane could not open its guide, {1}:\n{2}"},
    {TextId::ListComma, u8", "},
    {TextId::ListAnd, u8" and "},
    {TextId::KeyCtrl, u8"Ctrl"},
    {TextId::KeyShift, u8"Shift"},
    {TextId::KeySpace, u8"Space"},
    {TextId::KeyLeft, u8"Left"},
    {TextId::KeyUp, u8"Up"},
    {TextId::KeyRight, u8"Right"},
    {TextId::KeyDown, u8"Down"},
    {TextId::KeyInsert, u8"Insert"},
    {TextId::KeyDelete, u8"Delete"},
    {TextId::KeyHome, u8"Home"},
    {TextId::KeyEnd, u8"End"},
    {TextId::KeyPageUp, u8"PageUp"},
    {TextId::KeyPageDown, u8"PageDown"},
    {TextId::ErrorNumber, u8"Error {1}."},
};

inline constexpr TextRow kGermanTexts[] = {
    {TextId::UnexpectedFailure,
     u8"Tolvane konnte die Aktion nicht ausführen: Der Speicher reichte nicht, oder ein unerwarteter Fehler trat auf."},
    {TextId::MenuAutostart, u8"&Automatisch starten"},
    {TextId::MenuAbout, u8"&Info über Tolvane"},
    {TextId::MenuSettings, u8"&Einstellungen"},
    {TextId::MenuExit, u8"Tolvane &beenden"},
    {TextId::MenuExplorer, u8"Explorer ö&ffnen"},
    {TextId::AlreadyRunning, u8"Tolvane läuft bereits: Hier klicken, um Ihren Ordner zu öffnen"},
    {TextId::AboutFrame, u8"Info über Tolvane"},
    {TextId::AboutWrittenBy, u8"Geschrieben von:"},
    {TextId::AboutMaker, u8"Varnholt"},
    {TextId::AboutContact, u8"hi@example.com (Betreff: Tolvane)"},
    {TextId::AboutWeb, u8"www.example.com/tolvane"},
    {TextId::AboutVersion, TOLVANE_ABOUT_VERSION},
    {TextId::AboutDate, TOLVANE_ABOUT_DATE_GERMAN},
    {TextId::AboutNotOpened, u8"Tolvane konnte das Infofenster nicht öffnen."},
    {TextId::Ok, u8"&OK"},
    {TextId::Cancel, u8"&Abbrechen"},
    {TextId::SettingsCaption, u8"Einstellungen"},
    {TextId::ModeFrame, u8"Explorer-Fenster"},
    {TextId::ModeLabel, u8"Wählen Sie, wie das Explorer-Fenster geöffnet wird:"},
    {TextId::ModeNormal, u8"im Vordergrund, &normale Größe"},
    {TextId::ModeMaximized, u8"im Vordergrund, ma&ximiert"},
    {TextId::ModeTaskbar, u8"in der &Taskleiste"},
    {TextId::ModeLastSize, u8"&letzte Größe und Position"},
    {TextId::Save, u8"&Speichern"},
    {TextId::FolderFrame, u8"Ordner, der geöffnet wird"},
    {TextId::PathLabel, u8"&Pfad:"},
    {TextId::Browse, u8"&Durchsuchen..."},
    {TextId::HotkeyFrame, u8"Tastenkombination"},
    {TextId::KeysLabel, u8"Tast&en:"},
    {TextId::WindowsKeyShown, u8"Win+E wird verwendet"},
    {TextId::UseWindowsKey, u8"&Win+E verwenden"},
    {TextId::FavouritesButton, u8"&Favoriten..."},
    {TextId::SettingsNotOpened, u8"Tolvane konnte das Fenster \u201EEinstellungen\u201C nicht öffnen."},
    {TextId::HotkeyByPolicy, u8"Ihr Administrator hat die Tastenkombination festgelegt."},
    {TextId::ValueWindowMode, u8"Fenstermodus"},
    {TextId::ValueFolder, u8"Ordner"},
    {TextId::ValueHotkey, u8"Tastenkombination"},
    {TextId::NotSaved, u8"Nicht gespeichert: {1}.\n\n{2}\n\nIhre Änderungen stehen noch im Fenster \u201EEinstellungen\u201C."},
    {TextId::NotSavedSomeSaved, u8"Nicht gespeichert: {1}. Gespeichert: {2}.\n\n{3}\n\n"
                                u8"Ihre Änderungen stehen noch im Fenster \u201EEinstellungen\u201C."},
    {TextId::FavouritesCaption, u8"Favoriten"},
    {TextId::FavouritesLabel, u8"&Favoriten:"},
    {TextId::Add, u8"&Hinzufügen..."},
    {TextId::Edit, u8"&Bearbeiten..."},
    {TextId::Remove, u8"&Entfernen"},
    {TextId::MoveUp, u8"&Nach oben"},
    {TextId::MoveDown, u8"Nach &unten"},
    {TextId::OkStoresAtOnce, u8"OK speichert die Liste sofort: Abbrechen in den Einstellungen hebt das nicht auf."},
    {TextId::ColumnName, u8"Name"},
    {TextId::ColumnFolder, u8"Ordner"},
    {TextId::ColumnWindow, u8"Fenster"},
    {TextId::ColumnHotkey, u8"Tastenkombination"},
    {TextId::FavouritesNotOpened, u8"Tolvane konnte das Fenster \u201EFavoriten\u201C nicht öffnen."},
    {TextId::FavouritesByPolicy, u8"Ihr Administrator hat diese Favoriten festgelegt."},
    {TextId::RemoveQuestion, u8"Den Favoriten {1} aus der Liste entfernen?"},
    {TextId::LeftOutOne, u8"Nur die ersten {2} Favoriten werden verwendet; {1} weiterer ist gespeichert. "
                         u8"OK behält die ersten {2}."},
    {TextId::LeftOutMany, u8"Nur die ersten {2} Favoriten werden verwendet; {1} weitere sind gespeichert. "
                          u8"OK behält die ersten {2}."},
    {TextId::FavouriteNotSavedOne, u8"Der Favorit {1} konnte nicht gespeichert werden, daher wurde die Liste nicht "
                                   u8"gespeichert.\n\n{2}\n\nIhre Änderungen stehen noch im Fenster \u201EFavoriten\u201C."},
    {TextId::FavouriteNotSavedMany, u8"Die Favoriten {1} konnten nicht gespeichert werden, daher wurde die Liste nicht "
                                    u8"gespeichert.\n\n{2}\n\nIhre Änderungen stehen noch im Fenster \u201EFavoriten\u201C."},
    {TextId::FavouriteNotRemovedOne,
     u8"Die Liste wurde gespeichert, aber der entfernte Favorit {1} ist noch gespeichert.\n\n{2}"},
    {TextId::FavouriteNotRemovedMany,
     u8"Die Liste wurde gespeichert, aber die entfernten Favoriten {1} sind noch gespeichert.\n\n{2}"},
    {TextId::FavouriteCaption, u8"Favorit"},
    {TextId::NameLabel, u8"Na&me:"},
    {TextId::FavouriteFolderLabel, u8"O&rdner:"},
    {TextId::FavouriteModeFrame, u8"Explorer-Fenster"},
    {TextId::FavouriteNotOpened, u8"Tolvane konnte das Fenster des Favoriten nicht öffnen."},
    {TextId::NoName, u8"Geben Sie dem Favoriten bitte einen Namen."},
    {TextId::NoFolder, u8"Wählen Sie bitte seinen Ordner."},
    {TextId::FolderMissing, u8"Der Ordner {1} ist nicht vorhanden.\n\nWählen Sie in den Einstellungen einen anderen."},
    {TextId::FolderIsFile, u8"{1} ist eine Datei, kein Ordner.\n\nWählen Sie in den Einstellungen einen Ordner."},
    {TextId::FolderIsDevicePath, u8"{1} ist ein Gerätepfad (\\\\?\\ oder \\\\.\\), den Tolvane nicht öffnet.\n\n"
                                 u8"Schreiben Sie den Ordner in den Einstellungen als C:\\Ordner oder \\\\Server\\Freigabe."},
    {TextId::FolderIsAddress, u8"{1} ist eine Adresse, kein Ordner, und Tolvane öffnet sie nicht.\n\n"
                              u8"Wählen Sie in den Einstellungen einen Ordner."},
    {TextId::FolderNotFull, u8"{1} ist nicht der vollständige Pfad eines Ordners.\n\n"
                            u8"Schreiben Sie den Ordner in den Einstellungen als C:\\Ordner oder \\\\Server\\Freigabe."},
    {TextId::FavouriteFolderMissing, u8"Der Ordner {1} des Favoriten {2} ist nicht vorhanden."},
    {TextId::FavouriteFolderIsFile, u8"{1}, der Ordner des Favoriten {2}, ist eine Datei, kein Ordner."},
    {TextId::FavouriteFolderIsDevicePath,
     u8"{1}, der Ordner des Favoriten {2}, ist ein Gerätepfad (\\\\?\\ oder \\\\.\\), den Tolvane nicht öffnet."},
    {TextId::FavouriteFolderIsAddress,
     u8"{1}, der Ordner des Favoriten {2}, ist eine Adresse, kein Ordner, und Tolvane öffnet sie nicht."},
    {TextId::FavouriteFolderNotFull, u8"{1}, der Ordner des Favoriten {2}, ist nicht der vollständige Pfad eines Ordners."},
    {TextId::FavouriteSetByPolicy, u8"Ihr Administrator hat diesen Favoriten festgelegt: Bitten Sie ihn, ihn zu ändern."},
    {TextId::FavouriteMendIt,
     u8"Wählen Sie in den Einstellungen einen anderen Ordner: Favoriten..., {1} markieren, Bearbeiten..."},
    {TextId::Quoted, u8"\u201E{1}\u201C"},
    {TextId::ExplorerNotStarted, u8"\u201E{1}\u201C konnte nicht gestartet werden:\n{2}"},
    {TextId::FolderPickerNotOpened, u8"Tolvane konnte die Ordnerauswahl nicht öffnen:\n{1}"},
    {TextId::UnusableKey, u8"Diese Taste kann nicht Teil einer Tastenkombination sein: Wählen Sie bitte einen "
                          u8"Buchstaben, eine Ziffer, F1 bis F24, die Leertaste, eine Pfeiltaste oder eine "
                          u8"Navigationstaste, zusammen mit Strg, Alt oder beiden."},
    {TextId::UnusableKeyShort, u8"Diese Taste kann nicht Teil einer Tastenkombination sein."},
    {TextId::HeldCombinationNote, u8"Belegte Kombinationen lassen sich hier nicht eingeben."},
    {TextId::UnreadableHotkeyNote, u8"Die gespeicherte Kombination ist unlesbar: keine gilt."},
    {TextId::ChooseAnother, u8"{1} Wählen Sie bitte eine andere Kombination."},
    {TextId::NeedsModifier, u8"sie braucht Strg, Alt oder Win"},
    {TextId::MenusNeedIt, u8"Menüs brauchen sie"},
    {TextId::OthersNeedIt, u8"andere Programme brauchen sie"},
    {TextId::WindowsNeedsIt, u8"Windows braucht sie"},
    {TextId::TypesCharacter, u8"sie schreibt \u201E{1}\u201C"},
    {TextId::ThisCombination, u8"Diese Kombination"},
    {TextId::RefusalNote, u8"{1} wird nicht übernommen: {2}."},
    {TextId::StoredHotkeyRefused,
     u8"Die Tastenkombination {1} wird nicht verwendet: {2}. Wählen Sie in den Einstellungen eine andere."},
    {TextId::HotkeyTaken, u8"{1} wird von einem anderen Programm verwendet; wählen Sie in den Einstellungen eine andere."},
    {TextId::HotkeyTakenInSettings,
     u8"{1} wird von einem anderen Programm verwendet. Wählen Sie bitte eine andere Kombination.\n\n{2}"},
    {TextId::GivenToMainNote, u8"{1} gehört schon zum Hauptordner."},
    {TextId::GivenToFavouriteNote, u8"{1} gehört schon zu \u201E{2}\u201C."},
    {TextId::GivenToMain,
     u8"{1} ist schon die Tastenkombination des Hauptordners. Wählen Sie bitte eine andere Kombination."},
    {TextId::GivenToFavourite, u8"{1} ist schon die Tastenkombination von {2}. Wählen Sie bitte eine andere Kombination."},
    {TextId::FavouriteHotkeyTaken, u8"{1}, die Tastenkombination von {2}, wird von einem anderen Programm verwendet. "
                                   u8"Wählen Sie bitte eine andere Kombination.\n\n{3}"},
    {TextId::ColumnUnreadable, u8"(unlesbar)"},
    {TextId::ColumnNotAllowed, u8"{1} (nicht erlaubt)"},
    {TextId::ColumnGivenTwice, u8"{1} (doppelt vergeben)"},
    {TextId::ColumnUsedElsewhere, u8"{1} (von einem anderen Programm belegt)"},
    {TextId::BalloonGivenTwice, u8"doppelt vergeben"},
    {TextId::BalloonUsedElsewhere, u8"von einem anderen Programm belegt"},
    {TextId::BalloonItem, u8"\u201E{1}\u201C ({2}, {3})"},
    {TextId::HotkeysNotWorking,
     u8"Tastenkombinationen von Favoriten, die nicht funktionieren: {1}. Wählen Sie in den Einstellungen unter "
     u8"Favoriten andere."},
    {TextId::AutostartNotRemoved, u8"Tolvane konnte seinen Autostart-Eintrag nicht entfernen.\n\n{1}"},
    {TextId::AutostartNotAdded, u8"Tolvane konnte seinen Autostart-Eintrag nicht hinzufügen.\n\n{1}"},
    {TextId::AdministratorAdvice, u8"Werte für alle Benutzer dieses Computers (unter HKEY_LOCAL_MACHINE) lassen sich "
                                  u8"nur mit Administratorrechten ändern."},
    {TextId::AllUsersQuestion, u8"Tolvane für alle Benutzer dieses Computers nicht mehr automatisch starten?"},
    {TextId::AllUsersExplanation, u8"Tolvane startet bei der Anmeldung jedes Benutzers dieses Computers. Nur ein "
                                  u8"Administrator kann das ändern."},
    {TextId::NameHeld, u8"Tolvane kann nicht starten: Ein anderes Programm belegt den Namen, mit dem Tolvane einmal je "
                       u8"Benutzer läuft ({1}).\n\nBeenden Sie dieses Programm, oder melden Sie sich ab und wieder an, "
                       u8"und starten Sie Tolvane dann noch einmal."},
    {TextId::GuideFile, u8"Liesmich.txt"},
    {TextId::GuideMissing, u8"Die Anleitung von Tolvane fehlt: {1}\n\nSetup und das MSI-Paket legen Liesmich.txt neben "
                           u8"Tolvane.exe; eine neue Installation von Tolvane bringt sie zurück."},
    {TextId::GuideNotOpened, u8"Tolvane konnte seine Anleitung {1} nicht öffnen:\n{2}"},
    {TextId::ListComma, u8", "},
    {TextId::ListAnd, u8" und "},
    {TextId::KeyCtrl, u8"Strg"},
    {TextId::KeyShift, u8"Umschalt"},
    {TextId::KeySpace, u8"Leertaste"},
    {TextId::KeyLeft, u8"Nach-links"},
    {TextId::KeyUp, u8"Nach-oben"},
    {TextId::KeyRight, u8"Nach-rechts"},
    {TextId::KeyDown, u8"Nach-unten"},
    {TextId::KeyInsert, u8"Einfg"},
    {TextId::KeyDelete, u8"Entf"},
    {TextId::KeyHome, u8"Pos1"},
    {TextId::KeyEnd, u8"Ende"},
    {TextId::KeyPageUp, u8"Bild-auf"},
    {TextId::KeyPageDown, u8"Bild-ab"},
    {TextId::ErrorNumber, u8"Fehler {1}."},
};

// Each row in its id's place, and none missing.
constexpr bool InIdOrder(const TextRow* rows, std::size_t count) {
    if (count != kTextCount) return false;
    for (std::size_t index = 0; index < count; ++index)
        if (static_cast<std::size_t>(rows[index].id) != index) return false;
    return true;
}
static_assert(InIdOrder(kEnglishTexts, std::size(kEnglishTexts)), "English rows out of the enum's order");
static_assert(InIdOrder(kGermanTexts, std::size(kGermanTexts)), "German rows out of the enum's order");

// The texts alone, without the ids the rows carry for the check: the program
// holds only these.
struct TextTable {
    const char* texts[kTextCount];
};
constexpr TextTable TextsOf(const TextRow* rows) {
    TextTable table{};
    for (std::size_t index = 0; index < kTextCount; ++index) table.texts[index] = rows[index].text;
    return table;
}
inline constexpr TextTable kTextTables[kLanguageCount] = {TextsOf(kEnglishTexts), TextsOf(kGermanTexts)};

constexpr const char* TableText(Language language, TextId id) {
    return kTextTables[static_cast<std::size_t>(language)].texts[static_cast<std::size_t>(id)];
}

}  // namespace launcher
