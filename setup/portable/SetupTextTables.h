#pragma once
// Setup's texts in English and German, included by SetupTexts.cpp alone.
// Each row names its id, and a compile-time check keeps the rows in the enum's
// order; German follows the terms of Windows' German interface (Installieren,
// Deinstallieren, Ordner, Desktop, Infobereich) and the launcher's own.
#include <iterator>

#include "SetupTexts.h"
#include "TextTable.h"

namespace setup {

using TextRow = winkit::TextRow<TextId>;

// In SwitchesHelp, the /? list: a message box wraps lines where its font and
// width say, also after a "/", and lays tabs out by that font, so each switch
// has a line of its own, its explanation follows indented, and no line is long
// enough to be wrapped.
inline constexpr TextRow kEnglishTexts[] = {
    {TextId::Title, u8"Tolvane - Installation"},
    {TextId::Welcome, u8"Welcome to the installation of Tolvane. Please follow the easy (un)installation-steps."},
    {TextId::InstallFrame, u8"Installation"},
    {TextId::Autostart, u8"Make it run &automatically"},
    {TextId::FolderLabel, u8"&Folder where it's installed to:"},
    {TextId::InstallButton, u8"&Install"},
    {TextId::UninstallFrame, u8"Uninstallation"},
    {TextId::UninstallLabel, u8"Click the button below if you want to uninstall Tolvane."},
    {TextId::UninstallButton, u8"&Uninstall"},
    {TextId::ExitButton, u8"E&xit"},
    {TextId::OutOfMemory, u8"Setup ran out of memory. Please close other programs and try again."},
    {TextId::FinishedTitle, u8"Installation finished!"},
    {TextId::UninstalledTitle, u8"Uninstallation finished!"},
    {TextId::NotFinishedTitle, u8"Installation not finished"},
    {TextId::UninstallNotFinishedTitle, u8"Uninstallation not finished"},
    {TextId::NotStartedTitle, u8"Tolvane not started"},
    {TextId::Finished,
     u8"Installation is finished. Tolvane will now be run. See {1}Readme.txt for more information on the program."},
    {TextId::FinishedNoDesktop,
     u8"Installation is finished. Setup found no desktop to start Tolvane as you (it does not start it with its "
     u8"administrator rights), so please start Tolvane from its folder, {1}. See {1}Readme.txt for more information "
     u8"on the program."},
    {TextId::Moved, u8"Moved from {1}: its files stay there, as Uninstall leaves them."},
    {TextId::MoveQuestion, u8"Tolvane is installed in {1}.\n\nMove it to {2}? Setup ends Tolvane and removes the "
                           u8"entries that name the old folder; its files stay."},
    {TextId::NotStarted, u8"The installation is complete, but Tolvane could not be started.\n\nProgram: {1}\nReason: "
                         u8"{2}\n\nAll files were copied and all registry entries were written. You can start "
                         u8"Tolvane.exe yourself."},
    {TextId::Uninstalled, u8"Uninstallation is now finished. Only the registry entries made by the installation were "
                          u8"removed. Please delete the files manually."},
    {TextId::LauncherStillRunning,
     u8"Tolvane is still running on this desktop: it did not end when Setup asked it to. Please exit it (right-click "
     u8"its icon in the notification area, then \"Exit Tolvane\")."},
    {TextId::LauncherEnded, u8"Tolvane was running on this desktop; Setup has ended it."},
    {TextId::LogIncomplete,
     u8"The log is incomplete: {1}.\nReason: {2}\n\nWhat Setup did after that is not in the log."},
    {TextId::SwitchesNotUnderstood, u8"Setup did not understand its command line: {1}\n\n{2}"},
    {TextId::SwitchesHelp, u8"Setup.exe [/S] [/DIR=folder]\n"
                           u8"      [/AUTOSTART] [/LOG=file]\n"
                           u8"Setup.exe /UNINSTALL [/S] [/LOG=file]\n\n"
                           u8"/S\n"
                           u8"      silent: no window, no messages;\n"
                           u8"      the exit code tells the result\n"
                           u8"/DIR=folder\n"
                           u8"      the folder to install to\n"
                           u8"      (C:\\Tolvane\\ when not given),\n"
                           u8"      quoted when it holds blanks:\n"
                           u8"      \"/DIR=C:\\My Tools\\Tolvane\"\n"
                           u8"      or \"/DIR=C:\\My Tools\\\" /S\n"
                           u8"/AUTOSTART\n"
                           u8"      Tolvane starts for every user\n"
                           u8"      at logon\n"
                           u8"/UNINSTALL\n"
                           u8"      removes the registry entries,\n"
                           u8"      as the Uninstall button does\n"
                           u8"/LOG=file\n"
                           u8"      appends what Setup does to the\n"
                           u8"      file (UTF-8)\n"
                           u8"/?\n"
                           u8"      this list\n\n"
                           u8"Exit codes:\n"
                           u8"      0 done\n"
                           u8"      1603 a step failed\n"
                           u8"      1622 the log failed\n"
                           u8"      1639 a switch was not understood"},
    {TextId::RefusedArgument, u8"\"{1}\": {2}"},
    {TextId::NotASwitch, u8"not a switch"},
    {TextId::UnknownSwitch, u8"unknown switch"},
    {TextId::NoValue, u8"no value after \"=\""},
    {TextId::GivenTwice, u8"given twice"},
    {TextId::NeedsValue, u8"needs \"=\" and a value"},
    {TextId::NotWithDirOrAutostart, u8"not with /DIR= or /AUTOSTART"},
    {TextId::NotWithUninstall, u8"not with /UNINSTALL"},
    {TextId::FolderEmpty, u8"Please type the folder that Tolvane is to be installed to, for example {1}\n\nAn empty "
                          u8"folder name (or \"\\\" alone) would put the files into the root of the current drive."},
    {TextId::FolderNetworkPath, u8"\"{1}\" is a network or device path."},
    {TextId::FolderNotFull, u8"\"{1}\" is not a full path. Please type the whole path of the folder, beginning with its "
                            u8"drive, for example {2}\n\nA relative folder depends on the folder Setup happens to run "
                            u8"in, so the autostart entry and the list of installed programs could not find Tolvane "
                            u8"again."},
    {TextId::FolderStream, u8"\"{1}\" holds a \":\" after the drive. In a folder name it would name a hidden stream of "
                           u8"a file instead of a folder."},
    {TextId::FolderForbiddenCharacter,
     u8"\"{1}\" holds a character that no folder name may hold: * ? < > | \" (or a control character)."},
    {TextId::FolderNameEnd, u8"\"{1}\" has a folder name that ends in a blank or a dot (\"{2}\"). Windows drops those "
                            u8"at the end of a name, so the folder Setup checked and the one it wrote to could differ. "
                            u8"Please type the name without them."},
    {TextId::DriveRemote, u8"{1} is a network drive."},
    {TextId::DriveRemovable, u8"{1} is a removable drive."},
    {TextId::DriveCdRom, u8"{1} is a CD or DVD drive."},
    {TextId::DriveNotFixed, u8"{1} is not a fixed drive of this computer."},
    {TextId::FixedDriveOnly, u8"Tolvane can only be installed on a fixed drive of this computer, such as drive C. From "
                             u8"a network share the programs would run, for every user at every logon, whatever the "
                             u8"share holds at that moment; from a removable drive or a disc, Tolvane would not start "
                             u8"without it."},
    {TextId::DriveRoot, u8"{1} is the root of a drive. Please install into a folder of its own, for example {2}"},
    {TextId::FolderTooLong, u8"The folder path is longer than {1} characters. Please choose a shorter one: the "
                            u8"autostart entry and the start of the Explorer name the programs in it by their whole "
                            u8"path."},
    {TextId::MsiInstalled, u8"Installation stopped: Tolvane's MSI package is already installed. Please remove it "
                           u8"first, in Programs and Features or with msiexec /x {1}"},
    {TextId::NothingChanged, u8"Nothing was changed."},
    {TextId::AllUndone, u8"Everything Setup had done is undone."},
    {TextId::NotAllUndone, u8"Setup could not undo all it had done; these are left to do by hand:{1}"},
    {TextId::UndoRemoveFolder, u8"remove the folder {1}"},
    {TextId::UndoRemoveFile, u8"remove {1}"},
    {TextId::UndoPutBackFile, u8"put back the earlier {1}"},
    {TextId::UndoRemoveKey, u8"remove the key {1}"},
    {TextId::UndoRemoveValue, u8"remove the value {1}"},
    {TextId::UndoPutBackValue, u8"put back the earlier value {1}"},
    {TextId::VolumeUnknown, u8"Installation stopped: Setup could not find out whether drive {1} keeps permissions.\n\n"
                            u8"Reason: {2}\n\n{3}"},
    {TextId::NoPermissions, u8"Installation stopped: drive {1} keeps no permissions (its file system is FAT32 or "
                            u8"exFAT), so every user could replace the programs that start for every user.\n\n{2}"},
    {TextId::FolderAboveIsLink, u8"Installation stopped: {1} is a link (a junction or symbolic link) to another "
                                u8"place.\n\nSetup installs only below real folders, so that nobody can redirect the "
                                u8"programs that start for every user.\n\n{2}"},
    {TextId::FolderAboveUnsafe, u8"Installation stopped: users without administrator rights can rename, delete or "
                                u8"change the permissions of {1}, a folder above {2}\n\nThey could put another folder, "
                                u8"with programs of their own, in the place of the installation, and those would start "
                                u8"for every user.\n\n{3}"},
    {TextId::FolderAboveUnreadable,
     u8"Installation stopped: users without administrator rights can rename, delete or change the permissions of {1} "
     u8"(Setup could not read its permissions: {2}), a folder above {3}\n\nThey could put another folder, with "
     u8"programs of their own, in the place of the installation, and those would start for every user.\n\n{4}"},
    {TextId::CreateFolderFailed, u8"Installation stopped: the folder could not be created.\n\nFolder: {1}\nReason: "
                                 u8"{2}\n\nSetup creates one folder level only; the folder above it must exist.\n\n{3}"},
    {TextId::OpenFolderFailed,
     u8"Installation stopped: the folder could not be opened.\n\nFolder: {1}\nReason: {2}\n\n{3}"},
    {TextId::FolderIsLink, u8"Installation stopped: {1} is a link (a junction or symbolic link) to another place.\n\n"
                           u8"Setup installs only into a real folder, so that nobody can redirect the programs that "
                           u8"start for every user.\n\n{2}"},
    {TextId::FolderIsFile, u8"Installation stopped: {1} is a file, not a folder.\n\n{2}"},
    {TextId::FolderElsewhere, u8"Installation stopped: {1} leads to {2} (through a link or another name for a folder "
                              u8"in its path).\n\nSetup installs only into the folder it was given, so that the "
                              u8"entries it writes name the programs it checked.\n\n{3}"},
    {TextId::FolderUnsafe, u8"Installation stopped: {1} already exists and users without administrator rights can "
                           u8"change it. Choose a folder that does not exist yet: Setup creates it so that only "
                           u8"administrators can change it.\n\n{2}"},
    {TextId::FolderUnreadable, u8"Installation stopped: {1} already exists and Setup could not read who may change it "
                               u8"({2}). Choose a folder that does not exist yet: Setup creates it so that only "
                               u8"administrators can change it.\n\n{3}"},
    {TextId::SourceMissing,
     u8"Installation stopped: a file to install could not be read.\n\nFile: {1}\nReason: {2}\n\n{3}"},
    {TextId::SourceChanged, u8"Installation stopped: {1} is not the file this Setup was made with: it has been "
                            u8"changed or replaced.\n\nSetup installs only the files it was made with, so that no "
                            u8"other program starts for every user in their place.\n\n{2}"},
    {TextId::FileInUse, u8"Installation stopped: {1} is in use and cannot be replaced.\n\nReason: {2}\n\nTolvane is "
                        u8"probably running.\n\n{3}"},
    {TextId::CopyFailed,
     u8"Installation stopped: a file could not be copied.\n\nFrom: {1}\nTo: {2}\nReason: {3}\n\n{4}"},
    {TextId::RegistryRefused, u8"Installation stopped: Windows refused these registry entries:{1}\n\n{2}\n\n{3}"},
    {TextId::AdministratorAdvice, u8"Values for all users of this computer (under HKEY_LOCAL_MACHINE) can only be "
                                  u8"changed with administrator rights."},
    {TextId::RetryAdvice, u8"Please correct the folder and press Install again."},
    {TextId::NtfsAdvice, u8"Please choose a folder on an NTFS drive, such as drive C, and press Install again."},
    {TextId::SafeFolderAdvice, u8"Please choose a folder below folders that only administrators can change, such as a "
                               u8"new folder in C:\\Program Files or directly on drive C, and press Install again."},
    {TextId::FolderElsewhereAdvice, u8"Please type the folder as {1} or choose another one, and press Install again."},
    {TextId::NewFolderAdvice, u8"Please type a new folder and press Install again."},
    {TextId::SourceMissingAdvice, u8"Put Tolvane.exe, Setup.exe, Readme.txt and Liesmich.txt into one folder, start "
                                  u8"Setup.exe from there and press Install again."},
    {TextId::SourceChangedAdvice, u8"Please take Tolvane.exe, Setup.exe, Readme.txt and Liesmich.txt from one download "
                                  u8"of Tolvane and press Install again."},
    {TextId::FileInUseAdvice, u8"Please exit Tolvane first (right-click its icon in the notification area, then \"Exit "
                              u8"Tolvane\") and press Install again."},
    {TextId::AdministratorInstallAdvice, u8"Please start Setup.exe as administrator and press Install again."},
    {TextId::UninstallRefused, u8"Windows refused to remove these registry entries:{1}"},
    {TextId::UninstallRefusedDenied, u8"Windows refused to remove these registry entries:{1}\n\n{2} Please start "
                                     u8"Setup.exe as administrator and press Uninstall again."},
    {TextId::LogNotFullPath, u8"The log \"{1}\" is not a full path: it would land in whatever folder Setup happens "
                             u8"to run in."},
    {TextId::LogDevice, u8"The log \"{1}\" names a device or a stream of a file, not a file."},
    {TextId::LogNotOnDisk, u8"The log {1} is not a file on a disk but a pipe or a device. Setup writes with "
                           u8"administrator rights, and the program at the other end would learn them."},
    {TextId::LogLink, u8"The log {1} is a link (a symbolic link or junction) to another place. Setup writes with "
                      u8"administrator rights and would write wherever the link leads."},
    {TextId::LogHardLink, u8"The log {1} is one of several names of the same file (a hard link). Setup writes with "
                          u8"administrator rights and would change that file under its other names too."},
    {TextId::LogElsewhere, u8"The log {1} leads to {2} (through a link or another name for a folder in its path)."},
    {TextId::LogRefused, u8"Setup will not write its log there, so it has changed nothing.\n\n{1}\n\nPlease name a "
                         u8"file in a folder that exists and that you may write to, for example "
                         u8"/LOG=C:\\Logs\\Tolvane.log"},
    {TextId::LogNotOpened, u8"Setup cannot write its log, so it has changed nothing.\n\n{1}\nReason: {2}\n\nPlease name "
                           u8"a file in a folder that exists and that you may write to, for example "
                           u8"/LOG=C:\\Logs\\Tolvane.log"},
    {TextId::LogOpenOperation, u8"Could not open the log {1}"},
    {TextId::LogWriteOperation, u8"Could not write to the log {1}"},
    {TextId::ErrorNumber, u8"Error {1}."},
};

inline constexpr TextRow kGermanTexts[] = {
    {TextId::Title, u8"Tolvane - Installation"},
    {TextId::Welcome, u8"Willkommen bei der Installation von Tolvane. Folgen Sie bitte den einfachen Schritten."},
    {TextId::InstallFrame, u8"Installation"},
    {TextId::Autostart, u8"&Automatisch starten"},
    {TextId::FolderLabel, u8"Installations&ordner:"},
    {TextId::InstallButton, u8"&Installieren"},
    {TextId::UninstallFrame, u8"Deinstallation"},
    {TextId::UninstallLabel, u8"Mit der Schaltfläche unten deinstallieren Sie Tolvane."},
    {TextId::UninstallButton, u8"&Deinstallieren"},
    {TextId::ExitButton, u8"&Beenden"},
    {TextId::OutOfMemory,
     u8"Setup hat keinen Speicher mehr. Schließen Sie bitte andere Programme, und versuchen Sie es erneut."},
    {TextId::FinishedTitle, u8"Installation abgeschlossen!"},
    {TextId::UninstalledTitle, u8"Deinstallation abgeschlossen!"},
    {TextId::NotFinishedTitle, u8"Installation nicht abgeschlossen"},
    {TextId::UninstallNotFinishedTitle, u8"Deinstallation nicht abgeschlossen"},
    {TextId::NotStartedTitle, u8"Tolvane nicht gestartet"},
    {TextId::Finished,
     u8"Die Installation ist abgeschlossen. Tolvane wird jetzt gestartet. Mehr über das Programm steht in "
     u8"{1}Liesmich.txt."},
    {TextId::FinishedNoDesktop,
     u8"Die Installation ist abgeschlossen. Setup hat keinen Desktop gefunden, auf dem es Tolvane als Sie starten "
     u8"kann (mit seinen Administratorrechten startet es Tolvane nicht). Starten Sie Tolvane bitte aus seinem "
     u8"Ordner, {1}. Mehr über das Programm steht in {1}Liesmich.txt."},
    {TextId::Moved, u8"Aus {1} verschoben: Die Dateien bleiben dort, wie die Deinstallation sie lässt."},
    {TextId::MoveQuestion, u8"Tolvane ist in {1} installiert.\n\nNach {2} verschieben? Setup beendet Tolvane und "
                           u8"entfernt die Einträge, die den alten Ordner nennen; die Dateien bleiben."},
    {TextId::NotStarted, u8"Die Installation ist vollständig, aber Tolvane konnte nicht gestartet werden.\n\n"
                         u8"Programm: {1}\nGrund: {2}\n\nAlle Dateien wurden kopiert und alle Registrierungseinträge "
                         u8"geschrieben. Sie können Tolvane.exe selbst starten."},
    {TextId::Uninstalled, u8"Die Deinstallation ist abgeschlossen. Entfernt wurden nur die Registrierungseinträge der "
                          u8"Installation. Löschen Sie die Dateien bitte von Hand."},
    {TextId::LauncherStillRunning,
     u8"Tolvane läuft noch auf diesem Desktop: Es hat sich nicht beendet, als Setup es darum bat. Beenden Sie es "
     u8"bitte (Rechtsklick auf sein Symbol im Infobereich, dann \u201ETolvane beenden\u201C)."},
    {TextId::LauncherEnded, u8"Tolvane lief auf diesem Desktop; Setup hat es beendet."},
    {TextId::LogIncomplete, u8"Das Protokoll ist unvollständig: {1}.\nGrund: {2}\n\nWas Setup danach getan hat, steht "
                            u8"nicht im Protokoll."},
    {TextId::SwitchesNotUnderstood, u8"Setup hat seine Befehlszeile nicht verstanden: {1}\n\n{2}"},
    {TextId::SwitchesHelp, u8"Setup.exe [/S] [/DIR=Ordner]\n"
                           u8"      [/AUTOSTART] [/LOG=Datei]\n"
                           u8"Setup.exe /UNINSTALL [/S] [/LOG=Datei]\n\n"
                           u8"/S\n"
                           u8"      still: kein Fenster, keine\n"
                           u8"      Meldungen; der Exitcode nennt\n"
                           u8"      das Ergebnis\n"
                           u8"/DIR=Ordner\n"
                           u8"      der Ordner der Installation\n"
                           u8"      (ohne Angabe C:\\Tolvane\\),\n"
                           u8"      in Anführungszeichen, wenn er\n"
                           u8"      Leerzeichen enthält:\n"
                           u8"      \"/DIR=C:\\Meine Tools\\Tolvane\"\n"
                           u8"      oder \"/DIR=C:\\Meine Tools\\\" /S\n"
                           u8"/AUTOSTART\n"
                           u8"      Tolvane startet für jeden\n"
                           u8"      Benutzer bei der Anmeldung\n"
                           u8"/UNINSTALL\n"
                           u8"      entfernt die Einträge in der\n"
                           u8"      Registrierung, wie die\n"
                           u8"      Schaltfläche Deinstallieren\n"
                           u8"/LOG=Datei\n"
                           u8"      hängt an die Datei an, was Setup\n"
                           u8"      tut (UTF-8)\n"
                           u8"/?\n"
                           u8"      diese Liste\n\n"
                           u8"Exitcodes:\n"
                           u8"      0 erledigt\n"
                           u8"      1603 ein Schritt schlug fehl\n"
                           u8"      1622 das Protokoll schlug fehl\n"
                           u8"      1639 Schalter nicht verstanden"},
    {TextId::RefusedArgument, u8"\u201E{1}\u201C: {2}"},
    {TextId::NotASwitch, u8"kein Schalter"},
    {TextId::UnknownSwitch, u8"unbekannter Schalter"},
    {TextId::NoValue, u8"kein Wert nach \u201E=\u201C"},
    {TextId::GivenTwice, u8"zweimal angegeben"},
    {TextId::NeedsValue, u8"braucht \u201E=\u201C und einen Wert"},
    {TextId::NotWithDirOrAutostart, u8"nicht mit /DIR= oder /AUTOSTART"},
    {TextId::NotWithUninstall, u8"nicht mit /UNINSTALL"},
    {TextId::FolderEmpty, u8"Geben Sie bitte den Ordner ein, in den Tolvane installiert werden soll, zum Beispiel "
                          u8"{1}\n\nEin leerer Ordnername (oder \u201E\\\u201C allein) legte die Dateien in das "
                          u8"Stammverzeichnis des aktuellen Laufwerks."},
    {TextId::FolderNetworkPath, u8"\u201E{1}\u201C ist ein Netzwerk- oder Gerätepfad."},
    {TextId::FolderNotFull, u8"\u201E{1}\u201C ist kein vollständiger Pfad. Geben Sie bitte den ganzen Pfad des "
                            u8"Ordners ein, mit seinem Laufwerk am Anfang, zum Beispiel {2}\n\nEin relativer Ordner "
                            u8"hängt vom Ordner ab, in dem Setup gerade läuft, sodass der Autostart-Eintrag und die "
                            u8"Liste der installierten Programme Tolvane nicht wiederfänden."},
    {TextId::FolderStream, u8"\u201E{1}\u201C enthält einen \u201E:\u201C nach dem Laufwerk. In einem Ordnernamen "
                           u8"bezeichnete er einen versteckten Datenstrom einer Datei statt eines Ordners."},
    {TextId::FolderForbiddenCharacter, u8"\u201E{1}\u201C enthält ein Zeichen, das kein Ordnername enthalten darf: "
                                       u8"* ? < > | \" (oder ein Steuerzeichen)."},
    {TextId::FolderNameEnd, u8"\u201E{1}\u201C hat einen Ordnernamen, der auf ein Leerzeichen oder einen Punkt endet "
                            u8"(\u201E{2}\u201C). Windows lässt diese am Ende eines Namens weg, sodass der Ordner, den "
                            u8"Setup prüfte, und der, in den es schriebe, verschieden sein könnten. Geben Sie den Namen "
                            u8"bitte ohne sie ein."},
    {TextId::DriveRemote, u8"{1} ist ein Netzlaufwerk."},
    {TextId::DriveRemovable, u8"{1} ist ein Wechseldatenträger."},
    {TextId::DriveCdRom, u8"{1} ist ein CD- oder DVD-Laufwerk."},
    {TextId::DriveNotFixed, u8"{1} ist kein lokales Laufwerk dieses Computers."},
    {TextId::FixedDriveOnly, u8"Tolvane lässt sich nur auf einem lokalen Laufwerk dieses Computers installieren, etwa "
                             u8"auf Laufwerk C. Von einer Netzwerkfreigabe liefe für jeden Benutzer bei jeder "
                             u8"Anmeldung, was die Freigabe gerade enthält; ohne den Wechseldatenträger oder die CD "
                             u8"startete Tolvane nicht."},
    {TextId::DriveRoot, u8"{1} ist das Stammverzeichnis eines Laufwerks. Installieren Sie bitte in einen eigenen "
                        u8"Ordner, zum Beispiel {2}"},
    {TextId::FolderTooLong, u8"Der Ordnerpfad ist länger als {1} Zeichen. Wählen Sie bitte einen kürzeren: Der "
                            u8"Autostart-Eintrag und der Start des Explorers nennen die Programme darin mit ihrem "
                            u8"ganzen Pfad."},
    {TextId::MsiInstalled, u8"Installation abgebrochen: Das MSI-Paket von Tolvane ist schon installiert. Entfernen Sie "
                           u8"es bitte zuerst, unter \u201EProgramme und Features\u201C oder mit msiexec /x {1}"},
    {TextId::NothingChanged, u8"Nichts wurde geändert."},
    {TextId::AllUndone, u8"Alles, was Setup getan hatte, ist rückgängig gemacht."},
    {TextId::NotAllUndone,
     u8"Setup konnte nicht alles rückgängig machen; dies bleibt von Hand zu erledigen:{1}"},
    {TextId::UndoRemoveFolder, u8"den Ordner {1} entfernen"},
    {TextId::UndoRemoveFile, u8"{1} entfernen"},
    {TextId::UndoPutBackFile, u8"die frühere Datei {1} wiederherstellen"},
    {TextId::UndoRemoveKey, u8"den Schlüssel {1} entfernen"},
    {TextId::UndoRemoveValue, u8"den Wert {1} entfernen"},
    {TextId::UndoPutBackValue, u8"den früheren Wert {1} wiederherstellen"},
    {TextId::VolumeUnknown, u8"Installation abgebrochen: Setup konnte nicht feststellen, ob Laufwerk {1} "
                            u8"Berechtigungen speichert.\n\nGrund: {2}\n\n{3}"},
    {TextId::NoPermissions, u8"Installation abgebrochen: Laufwerk {1} speichert keine Berechtigungen (sein "
                            u8"Dateisystem ist FAT32 oder exFAT), sodass jeder Benutzer die Programme ersetzen könnte, "
                            u8"die für jeden Benutzer starten.\n\n{2}"},
    {TextId::FolderAboveIsLink, u8"Installation abgebrochen: {1} ist eine Verknüpfung (ein Verbindungspunkt oder "
                                u8"symbolischer Link) an einen anderen Ort.\n\nSetup installiert nur unterhalb echter "
                                u8"Ordner, damit niemand die Programme umleiten kann, die für jeden Benutzer starten."
                                u8"\n\n{2}"},
    {TextId::FolderAboveUnsafe, u8"Installation abgebrochen: Benutzer ohne Administratorrechte können {1}, einen Ordner "
                                u8"über {2}, umbenennen, löschen oder seine Berechtigungen ändern.\n\nSie könnten "
                                u8"einen anderen Ordner mit eigenen Programmen an die Stelle der Installation setzen, "
                                u8"und diese starteten für jeden Benutzer.\n\n{3}"},
    {TextId::FolderAboveUnreadable,
     u8"Installation abgebrochen: Benutzer ohne Administratorrechte können {1} (Setup konnte seine Berechtigungen nicht "
     u8"lesen: {2}), einen Ordner über {3}, umbenennen, löschen oder seine Berechtigungen ändern.\n\nSie könnten einen "
     u8"anderen Ordner mit eigenen Programmen an die Stelle der Installation setzen, und diese starteten für jeden "
     u8"Benutzer.\n\n{4}"},
    {TextId::CreateFolderFailed, u8"Installation abgebrochen: Der Ordner konnte nicht erstellt werden.\n\nOrdner: {1}\n"
                                 u8"Grund: {2}\n\nSetup erstellt nur eine Ordnerebene; der Ordner darüber muss "
                                 u8"existieren.\n\n{3}"},
    {TextId::OpenFolderFailed,
     u8"Installation abgebrochen: Der Ordner konnte nicht geöffnet werden.\n\nOrdner: {1}\nGrund: {2}\n\n{3}"},
    {TextId::FolderIsLink, u8"Installation abgebrochen: {1} ist eine Verknüpfung (ein Verbindungspunkt oder "
                           u8"symbolischer Link) an einen anderen Ort.\n\nSetup installiert nur in einen echten Ordner, "
                           u8"damit niemand die Programme umleiten kann, die für jeden Benutzer starten.\n\n{2}"},
    {TextId::FolderIsFile, u8"Installation abgebrochen: {1} ist eine Datei, kein Ordner.\n\n{2}"},
    {TextId::FolderElsewhere, u8"Installation abgebrochen: {1} führt zu {2} (über eine Verknüpfung oder einen anderen "
                              u8"Namen eines Ordners in seinem Pfad).\n\nSetup installiert nur in den Ordner, den es "
                              u8"bekam, damit die Einträge, die es schreibt, die Programme nennen, die es geprüft "
                              u8"hat.\n\n{3}"},
    {TextId::FolderUnsafe, u8"Installation abgebrochen: {1} existiert schon, und Benutzer ohne Administratorrechte "
                           u8"können ihn ändern. Wählen Sie einen Ordner, den es noch nicht gibt: Setup erstellt ihn so, "
                           u8"dass nur Administratoren ihn ändern können.\n\n{2}"},
    {TextId::FolderUnreadable, u8"Installation abgebrochen: {1} existiert schon, und Setup konnte nicht lesen, wer ihn "
                               u8"ändern darf ({2}). Wählen Sie einen Ordner, den es noch nicht gibt: Setup erstellt "
                               u8"ihn so, dass nur Administratoren ihn ändern können.\n\n{3}"},
    {TextId::SourceMissing, u8"Installation abgebrochen: Eine zu installierende Datei konnte nicht gelesen werden.\n\n"
                            u8"Datei: {1}\nGrund: {2}\n\n{3}"},
    {TextId::SourceChanged, u8"Installation abgebrochen: {1} ist nicht die Datei, mit der dieses Setup erstellt wurde: "
                            u8"Sie wurde geändert oder ersetzt.\n\nSetup installiert nur die Dateien, mit denen es "
                            u8"erstellt wurde, damit kein anderes Programm an ihrer Stelle für jeden Benutzer startet."
                            u8"\n\n{2}"},
    {TextId::FileInUse, u8"Installation abgebrochen: {1} wird verwendet und kann nicht ersetzt werden.\n\nGrund: {2}"
                        u8"\n\nTolvane läuft vermutlich.\n\n{3}"},
    {TextId::CopyFailed, u8"Installation abgebrochen: Eine Datei konnte nicht kopiert werden.\n\nVon: {1}\nNach: {2}\n"
                         u8"Grund: {3}\n\n{4}"},
    {TextId::RegistryRefused,
     u8"Installation abgebrochen: Windows verweigerte diese Einträge in der Registrierung:{1}\n\n{2}\n\n{3}"},
    {TextId::AdministratorAdvice, u8"Werte für alle Benutzer dieses Computers (unter HKEY_LOCAL_MACHINE) lassen sich "
                                  u8"nur mit Administratorrechten ändern."},
    {TextId::RetryAdvice, u8"Korrigieren Sie bitte den Ordner, und klicken Sie erneut auf \u201EInstallieren\u201C."},
    {TextId::NtfsAdvice, u8"Wählen Sie bitte einen Ordner auf einem NTFS-Laufwerk, etwa auf Laufwerk C, und klicken Sie "
                         u8"erneut auf \u201EInstallieren\u201C."},
    {TextId::SafeFolderAdvice, u8"Wählen Sie bitte einen Ordner unterhalb von Ordnern, die nur Administratoren ändern "
                               u8"können, etwa einen neuen Ordner in C:\\Program Files oder direkt auf Laufwerk C, und "
                               u8"klicken Sie erneut auf \u201EInstallieren\u201C."},
    {TextId::FolderElsewhereAdvice, u8"Geben Sie den Ordner bitte als {1} ein, oder wählen Sie einen anderen, und "
                                    u8"klicken Sie erneut auf \u201EInstallieren\u201C."},
    {TextId::NewFolderAdvice,
     u8"Geben Sie bitte einen neuen Ordner ein, und klicken Sie erneut auf \u201EInstallieren\u201C."},
    {TextId::SourceMissingAdvice, u8"Legen Sie Tolvane.exe, Setup.exe, Readme.txt und Liesmich.txt in einen Ordner, "
                                  u8"starten Sie Setup.exe von dort, und klicken Sie erneut auf \u201EInstallieren\u201C."},
    {TextId::SourceChangedAdvice, u8"Nehmen Sie bitte Tolvane.exe, Setup.exe, Readme.txt und Liesmich.txt aus einem "
                                  u8"Download von Tolvane, und klicken Sie erneut auf \u201EInstallieren\u201C."},
    {TextId::FileInUseAdvice, u8"Beenden Sie bitte zuerst Tolvane (Rechtsklick auf sein Symbol im Infobereich, dann "
                              u8"\u201ETolvane beenden\u201C), und klicken Sie erneut auf \u201EInstallieren\u201C."},
    {TextId::AdministratorInstallAdvice, u8"Starten Sie Setup.exe bitte als Administrator, und klicken Sie erneut auf "
                                         u8"\u201EInstallieren\u201C."},
    {TextId::UninstallRefused, u8"Windows verweigerte das Entfernen dieser Einträge in der Registrierung:{1}"},
    {TextId::UninstallRefusedDenied, u8"Windows verweigerte das Entfernen dieser Einträge in der Registrierung:{1}\n\n{2} "
                                     u8"Starten Sie Setup.exe bitte als Administrator, und klicken Sie erneut auf "
                                     u8"\u201EDeinstallieren\u201C."},
    {TextId::LogNotFullPath, u8"Das Protokoll \u201E{1}\u201C ist kein vollständiger Pfad: Es landete in dem Ordner, "
                             u8"in dem Setup gerade läuft."},
    {TextId::LogDevice, u8"Das Protokoll \u201E{1}\u201C bezeichnet ein Gerät oder einen Datenstrom einer Datei, keine "
                        u8"Datei."},
    {TextId::LogNotOnDisk, u8"Das Protokoll {1} ist keine Datei auf einem Datenträger, sondern eine Pipe oder ein "
                           u8"Gerät. Setup schreibt mit Administratorrechten, und das Programm am anderen Ende erhielte "
                           u8"sie."},
    {TextId::LogLink, u8"Das Protokoll {1} ist eine Verknüpfung (ein symbolischer Link oder Verbindungspunkt) an einen "
                      u8"anderen Ort. Setup schreibt mit Administratorrechten und schriebe, wohin die Verknüpfung "
                      u8"führt."},
    {TextId::LogHardLink, u8"Das Protokoll {1} ist einer von mehreren Namen derselben Datei (ein fester Link). Setup "
                          u8"schreibt mit Administratorrechten und änderte diese Datei auch unter ihren anderen Namen."},
    {TextId::LogElsewhere, u8"Das Protokoll {1} führt zu {2} (über eine Verknüpfung oder einen anderen Namen eines "
                           u8"Ordners in seinem Pfad)."},
    {TextId::LogRefused, u8"Setup schreibt sein Protokoll nicht dorthin und hat darum nichts geändert.\n\n{1}\n\n"
                         u8"Nennen Sie bitte eine Datei in einem vorhandenen Ordner, in den Sie schreiben dürfen, zum "
                         u8"Beispiel /LOG=C:\\Logs\\Tolvane.log"},
    {TextId::LogNotOpened, u8"Setup kann sein Protokoll nicht schreiben und hat darum nichts geändert.\n\n{1}\nGrund: "
                           u8"{2}\n\nNennen Sie bitte eine Datei in einem vorhandenen Ordner, in den Sie schreiben "
                           u8"dürfen, zum Beispiel /LOG=C:\\Logs\\Tolvane.log"},
    {TextId::LogOpenOperation, u8"Das Protokoll {1} konnte nicht geöffnet werden"},
    {TextId::LogWriteOperation, u8"In das Protokoll {1} konnte nicht geschrieben werden"},
    {TextId::ErrorNumber, u8"Fehler {1}."},
};

static_assert(winkit::InIdOrder(kEnglishTexts, std::size(kEnglishTexts), kTextCount),
              "English rows out of the enum's order");
static_assert(winkit::InIdOrder(kGermanTexts, std::size(kGermanTexts), kTextCount),
              "German rows out of the enum's order");

inline constexpr winkit::TextTable<kTextCount> kTextTables[kLanguageCount] = {
    winkit::TextsOf<kTextCount>(kEnglishTexts), winkit::TextsOf<kTextCount>(kGermanTexts)};

}  // namespace setup
