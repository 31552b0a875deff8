/* Version numbers and product texts: read by the .rc files (version records) and
   by the programs (About box, uninstall entry), so the two never disagree.
   Plain #defines because windres reads this file too. The scripts and tests
   read it through scripts/tolvane_version.py, which derives the same texts. */
#pragma once

#define TOLVANE_PRODUCT_NAME "Tolvane"
#define TOLVANE_COMPANY_NAME "Varnholt"
#define TOLVANE_COPYRIGHT "Copyright (C) 2006 Varnholt"

/* The one definition of each program's version. Everything else derives from
   it: the version record's numbers (1, 4, 0, 0), its text with a two-digit
   minor number ("1.04", also the MSI's and winget's version) and the About
   box's "Version: 1.4". Minor numbers run from 0 to 99. */
#define TOLVANE_VERSION_MAJOR 1
#define TOLVANE_VERSION_MINOR 4
#define SETUP_VERSION_MAJOR 1
#define SETUP_VERSION_MINOR 0

#define TOLVANE_DESCRIPTION "Program for starting the Explorer easily"
/* The launcher speaks German and English: its record has a block for each. */
#define TOLVANE_DESCRIPTION_GERMAN "Programm zum einfachen Starten des Explorers"
#define TOLVANE_ABOUT_DATE "    Date: 05.03.2006"
/* The same date in the German About box. */
#define TOLVANE_ABOUT_DATE_GERMAN "    Datum: 05.03.2006"
#define SETUP_DESCRIPTION "Installer of Tolvane"
#define SETUP_DESCRIPTION_GERMAN "Installationsprogramm von Tolvane"

#define TOLVANE_STRINGIZE2(x) #x
#define TOLVANE_STRINGIZE(x) TOLVANE_STRINGIZE2(x)
#define TOLVANE_JOIN2(a, b) a##b
#define TOLVANE_JOIN(a, b) TOLVANE_JOIN2(a, b)
/* major.minor as one number token (1 . 04 pastes to 1.04), so that the text
   is a single string literal, which both resource compilers take in VALUE. */
#define TOLVANE_DOTTED2(major, minor) major##.##minor
#define TOLVANE_DOTTED(major, minor) TOLVANE_DOTTED2(major, minor)

#if TOLVANE_VERSION_MINOR < 10
#define TOLVANE_VERSION_MINOR_2 TOLVANE_JOIN(0, TOLVANE_VERSION_MINOR)
#else
#define TOLVANE_VERSION_MINOR_2 TOLVANE_VERSION_MINOR
#endif
#if SETUP_VERSION_MINOR < 10
#define SETUP_VERSION_MINOR_2 TOLVANE_JOIN(0, SETUP_VERSION_MINOR)
#else
#define SETUP_VERSION_MINOR_2 SETUP_VERSION_MINOR
#endif

#define TOLVANE_VERSION_BINARY TOLVANE_VERSION_MAJOR, TOLVANE_VERSION_MINOR, 0, 0
#define TOLVANE_VERSION_TEXT TOLVANE_STRINGIZE(TOLVANE_DOTTED(TOLVANE_VERSION_MAJOR, TOLVANE_VERSION_MINOR_2))
#define TOLVANE_ABOUT_VERSION "Version: " TOLVANE_STRINGIZE(TOLVANE_DOTTED(TOLVANE_VERSION_MAJOR, TOLVANE_VERSION_MINOR))

#define SETUP_VERSION_BINARY SETUP_VERSION_MAJOR, SETUP_VERSION_MINOR, 0, 0
#define SETUP_VERSION_TEXT TOLVANE_STRINGIZE(TOLVANE_DOTTED(SETUP_VERSION_MAJOR, SETUP_VERSION_MINOR_2))

/* German (Germany), Unicode code page: the launcher's first language. */
#define TOLVANE_LANGUAGE_BLOCK "040704B0"
#define TOLVANE_LANGUAGE_ID 0x0407
#define TOLVANE_CODEPAGE 1200
/* English (United States): the launcher's second language, Setup's only one. */
#define TOLVANE_ENGLISH_BLOCK "040904B0"
#define TOLVANE_ENGLISH_ID 0x0409

#define TOLVANE_WIDEN2(x) L##x
#define TOLVANE_WIDEN(x) TOLVANE_WIDEN2(x)
