#!/usr/bin/env bash
# Builds all three presets and runs every test: the native unit tests, the
# end-to-end tests of the x86_64 programs under Wine (they start their own
# Xvfb), and the checks and end-to-end tests of the i686 deliverable (its
# 32-bit Wine half prepared once into build/i686-wine/ and run under
# qemu-i386). Ends with one summary line.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

# How long each part took, printed before the summary.
parts=()
took() {
  local label=$1 seconds=$2
  parts+=("$(printf '  %-52s %3d min %02d s' "$label" $((seconds / 60)) $((seconds % 60)))")
}
timed() {
  local label=$1 started=$SECONDS rc=0
  shift
  "$@" || rc=$?
  took "$label" $((SECONDS - started))
  return $rc
}

timed "packages" ensure_packages

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# The 32-bit Wine half downloads and unpacks about 100 MB the first time:
# beside the builds, which keep the CPUs busy while it mostly waits.
(
  started=$SECONDS
  # errexit would end this subshell before it says how the preparation went.
  rc=0
  python3 "$REPO_ROOT/tests/e2e/wine_i686.py" >/dev/null 2>"$scratch/prepare.log" || rc=$?
  echo "$rc $((SECONDS - started))" >"$scratch/prepare.result"
) &
prepare=$!

total_passed=0
total_failed=0
status=0
# Runs one preset's tests, shown and kept in $scratch/<preset>.log; its exit
# code and duration go to $scratch/<preset>.result.
run_ctest() {
  local preset=$1 started=$SECONDS rc=0
  log "tests: $preset"
  (cd "$REPO_ROOT" && ctest --preset "$preset" "${@:2}") 2>&1 | tee "$scratch/$preset.log" || rc=$?
  echo "$rc $((SECONDS - started))" >"$scratch/$preset.result"
}
# Adds up a finished preset's counts.
count_ctest() {
  local preset=$1 label=$2 rc seconds line failed count
  read -r rc seconds <"$scratch/$preset.result"
  took "$label" "$seconds"
  [ "$rc" -eq 0 ] || status=1
  # "100% tests passed, 0 tests failed out of 26"
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$scratch/$preset.log" | tail -n1 || true)
  if [ -z "$line" ]; then
    grep -q 'No tests were found' "$scratch/$preset.log" || status=1
    return
  fi
  failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  count=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
  total_passed=$((total_passed + count - failed))
  total_failed=$((total_failed + failed))
  [ "$failed" -eq 0 ] || status=1
}

for preset in native win64 win32; do timed "build: $preset" build_preset "$preset" || exit 1; done
run_ctest native -j2
count_ctest native "tests: native"

wait "$prepare"
read -r rc seconds <"$scratch/prepare.result"
took "prepare the 32-bit Wine half (beside the builds)" "$seconds"
if [ "$rc" -ne 0 ]; then
  cat "$scratch/prepare.log" >&2
  status=1
fi
grep -h warning "$scratch/prepare.log" >&2 || true

# The modules two at a time, once the builds are done: started beside them, a
# desktop missed its wait, scaled by a load average that had not yet risen.
# The x86_64 ones first, then the i686 ones.
run_ctest win64 -j2
count_ctest win64 "tests: win64 (x86_64 under Wine, two modules at a time)"
run_ctest win32 -j2
count_ctest win32 "tests: win32 (i686 under qemu-i386, two at a time)"

log "time taken"
printf '%s\n' "${parts[@]}" >&2
printf '  %-52s %3d min %02d s\n' "all" $((SECONDS / 60)) $((SECONDS % 60)) >&2
echo "tests: ${total_passed} passed, ${total_failed} failed"
exit $status
