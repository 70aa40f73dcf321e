#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit, gui, audio, e2e, and the Debian
# package: built, installed, started and removed again).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
source scripts/test-services.sh
ctest --test-dir build --output-on-failure --no-tests=error "$@"
