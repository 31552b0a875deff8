#!/usr/bin/env bash
# Builds all three presets and runs every test: the native unit tests, the
# end-to-end tests of the x86_64 programs under Wine (they start their own
# Xvfb), and the checks and end-to-end tests of the i686 deliverable (its
# 32-bit Wine half prepared once into build/i686-wine/ and run under
# qemu-i386). Ends with one summary line.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

# How long each part took, printed before the summary.
parts=()
timed() {
  local label=$1 started=$SECONDS rc=0
  shift
  "$@" || rc=$?
  local took=$((SECONDS - started))
  parts+=("$(printf '  %-44s %3d min %02d s' "$label" $((took / 60)) $((took % 60)))")
  return $rc
}

timed "packages" ensure_packages

total_passed=0
total_failed=0
status=0
run_ctest() {
  local preset=$1 log_file
  log_file="$(mktemp)"
  log "tests: $preset"
  if ! (cd "$REPO_ROOT" && ctest --preset "$preset" "${@:2}") 2>&1 | tee "$log_file"; then
    status=1
  fi
  # "100% tests passed, 0 tests failed out of 26"
  local line passed failed count
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log_file" | tail -n1 || true)
  if [ -z "$line" ]; then
    grep -q 'No tests were found' "$log_file" || status=1
  else
    failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    count=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
    passed=$((count - failed))
    total_passed=$((total_passed + passed))
    total_failed=$((total_failed + failed))
    [ "$failed" -eq 0 ] || status=1
  fi
  rm -f "$log_file"
}

for preset in native win64 win32; do timed "build: $preset" build_preset "$preset" || exit 1; done
timed "tests: native" run_ctest native -j2
timed "tests: win64 (x86_64 under Wine)" run_ctest win64
# Its own part, so that a first preparation (downloads) is not counted as the
# tests' time; the first i686 test would otherwise do it.
timed "prepare the 32-bit Wine half" python3 "$REPO_ROOT/tests/e2e/wine_i686.py" >/dev/null || status=1
timed "tests: win32 (i686 under qemu-i386)" run_ctest win32

log "time taken"
printf '%s\n' "${parts[@]}" >&2
printf '  %-44s %3d min %02d s\n' "all" $((SECONDS / 60)) $((SECONDS % 60)) >&2
echo "tests: ${total_passed} passed, ${total_failed} failed"
exit $status
