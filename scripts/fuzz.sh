#!/usr/bin/env bash
# Builds the fuzz targets of the file readers with clang's libFuzzer (in build-fuzz) and runs each
# for SECONDS (default 20), starting from its seeds in tests/fuzz/corpus. What a run finds that is
# new is kept in build-fuzz/corpus, so longer or repeated runs go deeper:
#   scripts/fuzz.sh 600          ten minutes each
# A crash stops the script and leaves the input as build-fuzz/crash-*; replay it with
#   build-fuzz/fuzz/fuzz_<reader> build-fuzz/crash-<hash>
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-20}
jobs=${HUSHBY_JOBS:-2}
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHUSHBY_FUZZ=ON -DBUILD_TESTING=OFF \
  >/dev/null
targets=(info_file sitter_file words settings)
cmake --build build-fuzz -j"$jobs" --target "${targets[@]/#/fuzz_}"
for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$t"
  echo "fuzzing the $t reader for $secs s"
  # The information file holds 5912-byte records; room for two and a bit.
  if ! build-fuzz/fuzz/fuzz_$t -max_total_time="$secs" -max_len=16384 -print_final_stats=1 \
    -artifact_prefix=build-fuzz/ "build-fuzz/corpus/$t" "tests/fuzz/corpus/$t" >"build-fuzz/$t.log" 2>&1; then
    tail -n 40 "build-fuzz/$t.log"
    echo "fuzz_$t failed; see build-fuzz/$t.log"
    exit 1
  fi
  grep -E "^stat::(number_of_executed_units|new_units_added)" "build-fuzz/$t.log"
done
