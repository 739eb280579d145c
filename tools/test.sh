#!/usr/bin/env bash
# Builds everything and runs every test tier under Wine, on a virtual X
# display, with one Wine server kept alive for the whole suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
BUILD_DIR=$build "$root/tools/build.sh"

WINE_ROOT="$build/wine"
. "$root/tools/wine-env.sh"
# One Wine server for the whole suite: a warm program start costs a tenth
# of a cold one. Its background services are started here, on /dev/null.
# A server left by build/wine-run is still running: keep that one.
wineserver -p 2>/dev/null || true
wine cmd.exe /c exit </dev/null >/dev/null 2>&1
trap 'wineserver -k 2>/dev/null || true' EXIT
xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir "$build" --output-on-failure "$@"
