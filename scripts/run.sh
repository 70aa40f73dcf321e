#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
exec build/hushby "$@"
