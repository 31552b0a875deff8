#!/usr/bin/env bash
# Runs a console test program in a private prefix that does not map the host's root.
set -euo pipefail
program=$1; shift
if [ ! -d "$WINEPREFIX/drive_c" ]; then
  DISPLAY= wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  rm -f "$WINEPREFIX/dosdevices/z:"
fi
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
