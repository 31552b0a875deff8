// Compiled with -fsyntax-only in the i686 build: old shells accept a tray
// record only if cbSize is exactly the first-version size, and that size
// depends on the 32-bit layout (HWND and HICON four bytes each), so a header
// or packing change would only show up as a missing tray icon on a user's machine.
#include <windows.h>
#include <shellapi.h>

#include "SysTray.h"

static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "first-version tray record must be 88 bytes");
static_assert(launcher::kTrayRecordSize == 88, "the launcher must register its tray icon with the 88-byte record");
static_assert(sizeof(void*) == 4, "this check is meant for the i686 build");
