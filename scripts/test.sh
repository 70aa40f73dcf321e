#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit, gui, audio, e2e, and the Debian
# package: built, installed, started and removed again); then the unit and gui tests again in a
# build with the address and undefined-behaviour checkers, and each file reader under the fuzzer
# for 20 s (HUSHBY_EXTRA_CHECKS=0 leaves out those last two steps).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
source scripts/test-services.sh
ctest --test-dir build --output-on-failure --no-tests=error "$@"
[ "${HUSHBY_EXTRA_CHECKS:-1}" = 0 ] && exit 0

start=$SECONDS
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DHUSHBY_SANITIZE=ON
cmake --build build-sanitize -j2
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build-sanitize --output-on-failure --no-tests=error -L 'unit|gui'
echo "sanitizer build and tests: $((SECONDS - start)) s"

start=$SECONDS
scripts/fuzz.sh 20
echo "fuzzing: $((SECONDS - start)) s"
