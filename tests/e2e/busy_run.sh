#!/usr/bin/env bash
# The whole e2e suite of both builds beside two processes that keep both CPUs
# busy, as on a machine where other builds run: shows that the harness's
# waits (tolvane_e2e.scaled) hold under load. Build win64 and win32 first;
# name presets to run only those (busy_run.sh win32).
# Prints the load average seen while it ran and how long each build took.
set -uo pipefail
cd "$(dirname "$0")/../.."
busy=()
for _ in 1 2; do
  ( while :; do :; done ) &
  busy+=($!)
done
samples="$(mktemp)"
( while sleep 30; do cut -d' ' -f1 /proc/loadavg; done ) >"$samples" &
sampler=$!
stop() { kill "${busy[@]}" "$sampler" 2>/dev/null; }
trap stop EXIT
status=0
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(win64 win32)
for preset in "${presets[@]}"; do
  started=$SECONDS
  ctest --preset "$preset" -L e2e --output-on-failure || status=1
  echo "== $preset: $(( (SECONDS - started) / 60 )) min $(( (SECONDS - started) % 60 )) s under load"
done
stop
trap - EXIT
sort -n "$samples" | awk '{ v[NR] = $1; s += $1 } END { if (NR) printf "== load average (1 min), every 30 s: min %s, mean %.1f, max %s over %d samples\n", v[1], s / NR, v[NR], NR }'
rm -f "$samples"
exit $status
