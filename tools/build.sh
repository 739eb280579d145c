#!/usr/bin/env bash
# Configures and builds everything (SETUP.EXE, the test programs, the Wine
# prefix, the author tools) into BUILD_DIR, default build/ beside the sources.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)"
BUILD_DIR=$build "$root/tools/build-author.sh"
BUILD_DIR=$build "$root/tools/layout-sample.sh"
