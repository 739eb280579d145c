#!/usr/bin/env bash
# Configures and builds everything (SETUP.EXE, the test programs, the Wine
# prefix, the author tools) into BUILD_DIR, default build/ beside the sources.
# The packages it needs come from tools/install-deps.sh, which the commands
# that start from a fresh machine (test.sh, run.sh, screenshots.sh) run first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)"
BUILD_DIR=$build "$root/tools/build-author.sh"
BUILD_DIR=$build "$root/tools/layout-sample.sh"
