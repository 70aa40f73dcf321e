#!/usr/bin/env bash
# Start-up time to the main window being mapped and peak resident memory, against a minimal Qt
# Widgets window measured in the same run. Median of 5 each. Usage: bench/startup.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" -j2 --target bench >/dev/null
source scripts/test-services.sh
work=$(mktemp -d)
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
mkdir -p "$XDG_CONFIG_HOME/The Hushby"
# A family name is stored, so the start is not a first run.
printf '[Settings]\nName=Bench\n' >"$XDG_CONFIG_HOME/The Hushby/The Hushby.ini"

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
run5() {
  local title=$1; shift
  for _ in 1 2 3 4 5; do "$build/bench/bench_map_wait" "$title" "$@"; done
}
run5 "Minimal Window" "$build/bench/bench_minimal_window" >"$work/min.txt"
run5 "The Hushby v2.0" "$build/hushby" --data-dir "$work/dd" >"$work/app.txt"
min_ms=$(cut -d' ' -f1 "$work/min.txt" | median); min_kb=$(cut -d' ' -f2 "$work/min.txt" | median)
app_ms=$(cut -d' ' -f1 "$work/app.txt" | median); app_kb=$(cut -d' ' -f2 "$work/app.txt" | median)
printf 'minimal window: %s ms to map, %s KiB peak\n' "$min_ms" "$min_kb"
printf 'hushby:         %s ms to map, %s KiB peak\n' "$app_ms" "$app_kb"
awk -v a="$app_ms" -v b="$min_ms" -v c="$app_kb" -v d="$min_kb" \
  'BEGIN {printf "ratio: time %.2fx, memory %.2fx (goal: at most 1.5x and 2x)\n", a/b, c/d}'
rm -rf "$work"
