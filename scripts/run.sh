#!/usr/bin/env bash
# Builds everything and runs Tolvane.exe (the x86_64 build) under Wine, in a
# demo prefix whose settings are the installer's defaults. Uses your display
# when DISPLAY is set, otherwise a private Xvfb (screenshots land in build/demo/).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages
for preset in native win64 win32; do build_preset "$preset"; done

DEMO_DIR="$REPO_ROOT/build/demo"
export WINEPREFIX="$DEMO_DIR/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$DEMO_DIR"

XVFB_PID=""
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  exec 3>"$DEMO_DIR/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp &
  XVFB_PID=$!
  for _ in $(seq 50); do [ -s "$DEMO_DIR/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$DEMO_DIR/display")"
  log "no DISPLAY: running in Xvfb on $DISPLAY"
fi

if [ ! -d "$WINEPREFIX/drive_c" ]; then
  log "creating the demo Wine prefix (about 10 s)"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  # The demo must not see (or write into) the host's root folder.
  rm -f "$WINEPREFIX/dosdevices/z:"
  # Debian's Wine does not find its own fonts (MS Sans Serif, Tahoma) by itself.
  cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$WINEPREFIX/drive_c/windows/Fonts/"
fi

INSTALL="$WINEPREFIX/drive_c/Tolvane"
mkdir -p "$INSTALL"
cp "$REPO_ROOT"/build/win64/bin/{Tolvane.exe,Setup.exe,Readme.txt} "$INSTALL"/ 2>/dev/null || \
  cp "$REPO_ROOT"/build/win64/bin/Tolvane.exe "$INSTALL"/
SETTINGS='HKLM\Software\Varnholt\Tolvane'
wine reg add "$SETTINGS" /v Modus /d vbMaximizedFocus /f /reg:32 >/dev/null 2>&1
wine reg add "$SETTINGS" /v Pfad /d 'C:\' /f /reg:32 >/dev/null 2>&1

cd "$INSTALL"
log "Tolvane runs in a Wine desktop: left-click its icon (bottom right) for the Explorer, right-click for the menu."
log "Stop with Ctrl+C or the menu's 'Exit Tolvane'."
wine explorer /desktop=Tolvane,1024x768 'C:\Tolvane\Tolvane.exe' &
DESKTOP_PID=$!
if [ -n "$XVFB_PID" ]; then
  sleep 5
  import -window root "$DEMO_DIR/desktop.png" && log "screenshot: $DEMO_DIR/desktop.png"
fi
wait "$DESKTOP_PID" || true
