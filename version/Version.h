/* Version numbers and product texts: read by the .rc files (version records) and
   by the programs (About box, uninstall entry), so the two never disagree.
   Plain #defines because windres reads this file too. */
#pragma once

#define TOLVANE_PRODUCT_NAME "Tolvane"
#define TOLVANE_COMPANY_NAME "Varnholt"
#define TOLVANE_COPYRIGHT "Copyright (C) 2006 Varnholt"

#define TOLVANE_VERSION_BINARY 1, 4, 0, 0
#define TOLVANE_VERSION_TEXT "1.04"
#define TOLVANE_DESCRIPTION "Program for starting the Explorer easily"
#define TOLVANE_ABOUT_VERSION "Version: 1.4"
#define TOLVANE_ABOUT_DATE "    Date: 05.03.2006"

#define SETUP_VERSION_BINARY 1, 0, 0, 0
#define SETUP_VERSION_TEXT "1.00"
#define SETUP_DESCRIPTION "Installer of Tolvane"

/* German (Germany), Unicode code page: the language the version records declare. */
#define TOLVANE_LANGUAGE_BLOCK "040704B0"
#define TOLVANE_LANGUAGE_ID 0x0407
#define TOLVANE_CODEPAGE 1200

#define TOLVANE_WIDEN2(x) L##x
#define TOLVANE_WIDEN(x) TOLVANE_WIDEN2(x)
