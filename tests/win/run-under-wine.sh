#!/usr/bin/env bash
# Runs a console test program in a private prefix that does not map the host's root.
set -euo pipefail
program=$1; shift
if [ ! -d "$WINEPREFIX/drive_c" ]; then
  DISPLAY= wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  rm -f "$WINEPREFIX/dosdevices/z:"
fi
# Debian's Wine does not find its own fonts by itself (tolvane_e2e.py does the
# same): without them the captions would be measured in a host font.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
for font in /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon; do
  [ -f "$font" ] && [ ! -f "$fonts/$(basename "$font")" ] && cp "$font" "$fonts/"
done
work="$WINEPREFIX/drive_c/tests"
mkdir -p "$work"
cp "$program" "$work/"
for f in Tolvane.exe Setup.exe; do
  [ -f "${TOLVANE_BIN_DIR:-}/$f" ] && cp "${TOLVANE_BIN_DIR}/$f" "$work/"
done
cd "$work"
status=0
DISPLAY= wine "C:\\tests\\$(basename "$program")" "$@" || status=$?
wineserver -k 2>/dev/null || true
exit $status
