#!/usr/bin/env bash
# Time from the setup wizard's button to the wizard on screen, against the personal information
# window in the same run, on a virtual display; both orders, since the first window opened pays
# for what both load once. Usage: bench/wizard_open.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" -j2 --target bench_wizard_open >/dev/null
source scripts/test-services.sh
"$build/bench/bench_wizard_open" "${2:-21}"
"$build/bench/bench_wizard_open" "${2:-21}" --personal-first
