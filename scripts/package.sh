#!/usr/bin/env bash
# Builds the Debian package the-hushby_<version>_amd64.deb into build/package and prints its path.
# Usage: scripts/package.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target hushby hushby-listen hushby_resources hushby_package_files >/dev/null
rm -rf "$build/package"
(cd "$build" && cpack -B "$PWD/package" >/dev/null)
ls "$build"/package/the-hushby_*_amd64.deb
