#pragma once
// Setup's texts in English and German, included by SetupTexts.cpp alone.
// Each row names its id, and a compile-time check keeps the rows in the enum's
// order; German follows the terms of Windows' German interface (Installieren,
// Deinstallieren, Ordner, Desktop, Infobereich) and the launcher's own.
#include <iterator>

#include "SetupTexts.h"

namespace setup {

// UTF-8, turned into UTF-16 when first shown, as the launcher's tables.
struct TextRow {
    TextId id;
    const char* text;
};

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
    // A message box wraps lines where its font and width say, also after a
    // "/", and lays tabs out by that font: each switch has a line of its own,
    // its explanation follows indented, and no line is long enough to be wrapped.
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

}  // namespace setup
