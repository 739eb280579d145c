#!/usr/bin/env bash
# Times the uninstall record writer under Wine (a benchmark, not a test):
# an install of 1,000 files into a folder whose earlier record holds 1,000
# entries. Arguments go to the program: [files] [earlier] [--reference]; with
# --reference the key-by-key writer is timed too (slow: use small counts).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/tools/install-deps.sh"
BUILD_DIR=$build "$root/tools/build.sh" >/dev/null
cmake --build "$build" --target record_bench >/dev/null
"$build/wine-run" "$build/bin/record_bench.exe" "$@"
