#!/usr/bin/env bash
# Builds the author tools (tools/author: the orvauthor program and its tests)
# natively into BUILD_DIR/author/native and for Windows into
# BUILD_DIR/author/windows. The native program lays out with the main build's
# SETUP.EXE and packages with its ORVSTUB.EXE by default; the Windows tests
# run in the main build's Wine prefix, so the main build (tools/build.sh)
# comes first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
author="$root/tools/author"

cmake -S "$author" -B "$build/author/native" -DCMAKE_BUILD_TYPE=Release \
      -DORVANE_SETUP_EXE="$build/bin/SETUP.EXE" -DORVANE_PACKAGE_STUB="$build/bin/ORVSTUB.EXE" >/dev/null
cmake --build "$build/author/native" -j"$(nproc)"

cmake -S "$author" -B "$build/author/windows" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_CROSSCOMPILING_EMULATOR="$build/wine-run" >/dev/null
cmake --build "$build/author/windows" -j"$(nproc)"
