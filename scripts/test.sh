#!/usr/bin/env bash
# Builds all three presets and runs every test: the native unit tests, the
# end-to-end tests of the x86_64 programs under Wine (they start their own
# Xvfb), and the checks and end-to-end tests of the i686 deliverable (its
# 32-bit Wine half prepared once into build/i686-wine/ and run under
# qemu-i386). Ends with one summary line.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages

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

for preset in native win64 win32; do build_preset "$preset" || exit 1; done
run_ctest native -j2
run_ctest win64
run_ctest win32

echo "tests: ${total_passed} passed, ${total_failed} failed"
exit $status
