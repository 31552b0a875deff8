# Shared by run.sh and test.sh: package checks and builds. Source it, don't run it.
set -euo pipefail

REPO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# Debian package -> a file it installs that we can test for.
declare -A TOLVANE_PACKAGES=(
  [cmake]=/usr/bin/cmake
  [ninja-build]=/usr/bin/ninja
  [g++]=/usr/bin/g++
  [libgtest-dev]=/usr/include/gtest/gtest.h
  [g++-mingw-w64-i686]=/usr/bin/i686-w64-mingw32-g++-win32
  [g++-mingw-w64-x86-64]=/usr/bin/x86_64-w64-mingw32-g++-win32
  [wine]=/usr/bin/wine
  [wine64]=/usr/lib/wine/wine64
  [fonts-wine]=/usr/share/wine/fonts/ms_sans_serif.ttf
  [xvfb]=/usr/bin/Xvfb
  [xdotool]=/usr/bin/xdotool
  [imagemagick]=/usr/bin/import
  [python3]=/usr/bin/python3
  [zip]=/usr/bin/zip
  [wixl]=/usr/bin/wixl
  [msitools]=/usr/bin/msiinfo
  # The release checks read the winget manifests they write as YAML.
  [python3-yaml]=/usr/lib/python3/dist-packages/yaml/__init__.py
  # Signing (a build given TOLVANE_SIGN_*), and the signed build's test,
  # which makes a throwaway certificate.
  [osslsigncode]=/usr/bin/osslsigncode
  [openssl]=/usr/bin/openssl
  # The i686 programs' end-to-end tests: the 32-bit Wine half runs under
  # qemu-i386 (tests/e2e/wine_i686.py unpacks it from Debian's i386 packages
  # into build/i686-wine/); gcc -m32 -nostdlib builds its guest-side fixes
  # (no C library needed); libwine:i386 wants the i686 zlib1.dll.
  [qemu-user]=/usr/bin/qemu-i386
  [gcc]=/usr/bin/gcc
  [libz-mingw-w64]=/usr/i686-w64-mingw32/lib/zlib1.dll
)

log() { printf '== %s\n' "$*" >&2; }

# Installs what is missing when run as root; otherwise names it and stops.
ensure_packages() {
  local missing=() pkg
  for pkg in "${!TOLVANE_PACKAGES[@]}"; do
    [ -e "${TOLVANE_PACKAGES[$pkg]}" ] || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages: ${missing[*]}" >&2
    echo "Install them with: sudo apt-get update && sudo apt-get install --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  log "installing ${missing[*]}"
  # wine32 is never wanted: this machine runs no 32-bit code, and the wine
  # wrapper would pick its loader over wine64's.
  # A mirror in the middle of a sync fails one index and apt-get update with
  # it, though the others arrived: try once more after a pause, then let the
  # install decide whether every package can still be had.
  local attempt
  for attempt in 1 2; do
    DEBIAN_FRONTEND=noninteractive apt-get update -q >/dev/null && break
    log "warning: apt-get update failed (attempt $attempt of 2); going on with the indexes that arrived"
    [ "$attempt" -eq 2 ] || sleep 15
  done
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
}

build_preset() {
  local preset=$1
  log "configure and build: $preset"
  (cd "$REPO_ROOT" && cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset")
}
