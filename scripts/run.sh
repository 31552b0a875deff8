#!/usr/bin/env bash
# Builds everything and runs Tolvane.exe under Wine in the e2e harness's
# desktop (scripts/demo.py), with the installer's default settings. Uses your
# display when DISPLAY is set, otherwise a private Xvfb (a screenshot lands in
# build/demo/). "run.sh --preset win32" runs the i686 build.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages
for preset in native win64 win32; do build_preset "$preset"; done

exec python3 "$REPO_ROOT/scripts/demo.py" "$@"
